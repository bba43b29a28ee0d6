// The resize handlers of the main, event and status windows: each stretches its list to the
// window and keeps a few controls on the list's right or bottom edge. The window's outer size
// is the base; a step whose size the control refuses (negative, in a very small or minimised
// window) is skipped, the control keeping its previous value, and the next step runs.

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "tools/f_status.h"

namespace plx {
namespace {

// Main window, twips: room left under the list for the management buttons and the window's
// bottom edge; and right of the list for the window's right edge.
constexpr int kMainBelowList = 900;
constexpr int kMainRightOfList = 250;
// Event window, twips: room left for the switch above the list and the bottom edge; right of
// the list; gap between the list and the clear button.
constexpr int kEventsAroundList = 1000;
constexpr int kEventsRightOfList = 300;
constexpr int kEventsButtonGap = 50;
// Status window, twips: room left around the list and its button; right of the list.
constexpr int kStatusAroundList = 700;
constexpr int kStatusRightOfList = 300;

int rightEdge(const Control& control) {
    return control.left() + control.width();
}
int bottomEdge(const Control& control) {
    return control.top() + control.height();
}

}  // namespace

void F_MAIN::Form_Resize() {
    LST_PRODUIT.setHeight(form.height() - PIC_FOOTER.height() - LST_PRODUIT.top() - kMainBelowList);
    LST_PRODUIT.setWidth(form.width() - LST_PRODUIT.left() - kMainRightOfList);
    AFF_HEURE.setLeft(rightEdge(LST_PRODUIT) - AFF_HEURE.width());
    FR_B_MANAGE.setLeft(rightEdge(LST_PRODUIT) - FR_B_MANAGE.width());
    FR_B_MANAGE.setTop(bottomEdge(LST_PRODUIT));
}

void F_EVENTS::Form_Resize() {
    LST_EVENTS.setHeight(form.height() - kEventsAroundList - B_CLEAR.height());
    LST_EVENTS.setWidth(form.width() - kEventsRightOfList);
    B_CLEAR.setTop(bottomEdge(LST_EVENTS) + kEventsButtonGap);
    B_CLEAR.setLeft(rightEdge(LST_EVENTS) - B_CLEAR.width());
    AFF_LOG_FILE.setWidth(LST_EVENTS.width() - AFF_LOG_FILE.left());
}

void F_STATUS::Form_Resize() {
    LST_STATUS.setHeight(form.height() - kStatusAroundList - B_REFRESH.height());
    LST_STATUS.setWidth(form.width() - kStatusRightOfList);
    B_REFRESH.setLeft(rightEdge(LST_STATUS) - B_REFRESH.width());
    B_REFRESH.setTop(bottomEdge(LST_STATUS));
}

}  // namespace plx
