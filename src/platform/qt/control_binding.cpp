#include "platform/qt/control_binding.h"

#include <QEvent>
#include <QWidget>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/link_label.h"
#include "platform/controls/list_box.h"
#include "platform/controls/option_button.h"
#include "platform/controls/picture.h"
#include "platform/controls/text_box.h"
#include "platform/qt/binding_kinds.h"
#include "platform/system_text.h"

namespace plx::qtp {

QString toQt(const std::string& text) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(wideText(text));
#else
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
#endif
}

std::string fromQt(const QString& text) {
#ifdef Q_OS_WIN
    return narrowText(text.toStdWString());
#else
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
#endif
}

int toPixels(int twips) {
    // Rounded to the nearest pixel, symmetrically for controls parked at negative positions.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

ControlBinding::ControlBinding(Control& control, ViewState& view)
    : control_(control), view_(view) {}

void ControlBinding::sync() {
    const bool wasSyncing = view_.syncing;
    view_.syncing = true;
    syncPlacement();
    const QString toolTip = toQt(control_.toolTip());
    if (widget()->toolTip() != toolTip) widget()->setToolTip(toolTip);
    syncContent();
    dirty = false;
    view_.syncing = wasSyncing;
}

void ControlBinding::syncPlacement() {
    QWidget* const target = widget();
    const QRect wanted = geometry();
    if (target->geometry() != wanted) target->setGeometry(wanted);
    if (target->testAttribute(Qt::WA_Disabled) == control_.enabled()) {
        target->setEnabled(control_.enabled());
    }
    if (target->isHidden() == control_.visible()) target->setVisible(control_.visible());
}

QRect ControlBinding::geometry() const {
    return QRect(toPixels(control_.left()), toPixels(control_.top()), toPixels(control_.width()),
                 toPixels(control_.height()));
}

void ControlBinding::watch(QWidget* focusWidget) {
    focusWidget->installEventFilter(this);
}

bool ControlBinding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && operatorAction()) {
        control_.form().moveFocusTo(&control_);
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<ControlBinding> makeBinding(Control& control, QWidget* parent, ViewState& view) {
    switch (control.kind()) {
        case ControlKind::Label:
            return bindLabel(static_cast<Label&>(control), parent, view);
        case ControlKind::Button:
            return bindButton(static_cast<Button&>(control), parent, view);
        case ControlKind::CheckBox:
            return bindCheckBox(static_cast<CheckBox&>(control), parent, view);
        case ControlKind::OptionButton:
            return bindOptionButton(static_cast<OptionButton&>(control), parent, view);
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
            return bindTextBox(static_cast<TextBox&>(control), parent, view);
        case ControlKind::ListBox:
            return bindListBox(static_cast<ListBox&>(control), parent, view);
        case ControlKind::Picture:
            return bindPicture(static_cast<Picture&>(control), parent, view);
        case ControlKind::Link:
            return bindLink(static_cast<LinkLabel&>(control), parent, view);
        case ControlKind::Frame:
            return bindFrame(static_cast<Frame&>(control), parent, view);
        case ControlKind::Form:
            break;
    }
    return nullptr;
}

}  // namespace plx::qtp
