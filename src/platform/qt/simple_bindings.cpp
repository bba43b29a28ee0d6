// Bindings of the controls that hold little state: labels, buttons, check and option
// buttons, pictures, links and frames.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/link_label.h"
#include "platform/controls/option_button.h"
#include "platform/controls/picture.h"
#include "platform/qt/binding_kinds.h"
#include "platform/qt/images.h"

namespace plx::qtp {
namespace {

// Creates the widget of a binding with the control's name, so tests find it.
template <class Widget>
Widget* createWidget(const Control& control, QWidget* parent) {
    auto* widget = new Widget(parent);
    widget->setObjectName(toQt(control.objectName()));
    return widget;
}

void setTextIfChanged(auto* widget, const std::string& text) {
    const QString wanted = toQt(text);
    if (widget->text() != wanted) widget->setText(wanted);
}

// Redraws a named picture only when the name or the size changed.
class DrawnImage {
  public:
    bool update(const std::string& name, QSize size) {
        if (name == name_ && size == size_) return false;
        name_ = name;
        size_ = size;
        return true;
    }

  private:
    std::string name_;
    QSize size_;
};

class LabelBinding : public ControlBinding {
  public:
    LabelBinding(Label& label, QWidget* parent, ViewState& view)
        : ControlBinding(label, view), label_(label), widget_(createWidget<QLabel>(label, parent)) {
        // Long captions wrap inside the label's box, as designed window labels do.
        widget_->setWordWrap(true);
    }
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        setTextIfChanged(widget_, label_.caption());
        const Qt::Alignment alignment =
            Qt::AlignVCenter | (label_.rightAligned() ? Qt::AlignRight : Qt::AlignLeft);
        if (widget_->alignment() != alignment) widget_->setAlignment(alignment);
    }
    Label& label_;
    QLabel* widget_;
};

// A push button that Enter presses when it has the focus, as Space does; Enter anywhere else
// in the window presses the default button. The button Enter would press is the one that
// looks like the default.
class PushButton : public QPushButton {
  public:
    explicit PushButton(QWidget* parent) : QPushButton(parent) {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
            if ((from != nullptr && from->window() == window()) ||
                (to != nullptr && to->window() == window())) {
                update();
            }
        });
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            return QPushButton::keyPressEvent(event);
        }
        // Once per press: a key held down would repeat the command (a broadcast, a ping).
        if (!event->isAutoRepeat()) click();
    }
    void paintEvent(QPaintEvent*) override {
        QStyleOptionButton option;
        initStyleOption(&option);
        const auto* focused = qobject_cast<const QPushButton*>(window()->focusWidget());
        option.features.setFlag(QStyleOptionButton::DefaultButton,
                                focused != nullptr ? focused == this : isDefault());
        QStylePainter(this).drawControl(QStyle::CE_PushButton, option);
    }
};

class ButtonBinding : public ControlBinding {
  public:
    ButtonBinding(Button& button, QWidget* parent, ViewState& view)
        : ControlBinding(button, view),
          button_(button),
          widget_(createWidget<PushButton>(button, parent)) {
        watch(widget_);
        connect(widget_, &QPushButton::clicked, this, [this] {
            if (operatorAction()) button_.click();
        });
    }
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        setTextIfChanged(widget_, button_.caption());
        if (widget_->isDefault() != button_.isDefault()) widget_->setDefault(button_.isDefault());
        // A picture button without a caption shows its picture over the whole face.
        constexpr int kFacePadding = 8;   // px: bevel and focus frame around the picture
        constexpr int kCaptionIcon = 20;  // px: picture beside a caption
        const QSize area = widget_->size() - QSize(kFacePadding, kFacePadding);
        const int side = button_.caption().empty() ? std::min(area.width(), area.height())
                                                   : std::min(kCaptionIcon, area.height());
        const QSize iconSize(std::max(side, 0), std::max(side, 0));
        if (!image_.update(button_.image(), iconSize)) return;
        if (button_.image().empty() || iconSize.isEmpty()) {
            widget_->setIcon(QIcon());
            return;
        }
        widget_->setIcon(QIcon(drawImage(button_.image(), iconSize, widget_->devicePixelRatioF())));
        widget_->setIconSize(iconSize);
    }
    Button& button_;
    QPushButton* widget_;
    DrawnImage image_;
};

class CheckBoxBinding : public ControlBinding {
  public:
    CheckBoxBinding(CheckBox& box, QWidget* parent, ViewState& view)
        : ControlBinding(box, view), box_(box), widget_(createWidget<QCheckBox>(box, parent)) {
        watch(widget_);
        connect(widget_, &QCheckBox::clicked, this, [this] {
            if (!operatorAction()) return;
            // The control decides the next value (0 <-> 1, greyed -> ticked); the widget
            // shows what it decided.
            box_.click();
            if (view_.attached) sync();
        });
    }
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        setTextIfChanged(widget_, box_.caption());
        const int value = box_.value();
        widget_->setTristate(value == 2);
        widget_->setCheckState(value == 2   ? Qt::PartiallyChecked
                               : value == 1 ? Qt::Checked
                                            : Qt::Unchecked);
    }
    CheckBox& box_;
    QCheckBox* widget_;
};

class OptionButtonBinding : public ControlBinding {
  public:
    OptionButtonBinding(OptionButton& option, QWidget* parent, ViewState& view)
        : ControlBinding(option, view),
          option_(option),
          widget_(createWidget<QRadioButton>(option, parent)) {
        watch(widget_);
        // Option buttons sharing a container are one group, as the widgets are: choosing
        // one clears the others in the controls too.
        connect(widget_, &QRadioButton::toggled, this, [this](bool on) {
            if (operatorAction()) option_.setValue(on);
        });
    }
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        setTextIfChanged(widget_, option_.caption());
        if (widget_->isChecked() != option_.value()) widget_->setChecked(option_.value());
    }
    OptionButton& option_;
    QRadioButton* widget_;
};

class PictureBinding : public ControlBinding {
  public:
    PictureBinding(Picture& picture, QWidget* parent, ViewState& view)
        : ControlBinding(picture, view),
          picture_(picture),
          widget_(createWidget<QLabel>(picture, parent)) {
        widget_->setAlignment(Qt::AlignCenter);
    }
    QWidget* widget() const override { return widget_; }

  private:
    QRect geometry() const override {
        if (!picture_.dockedBottom()) return ControlBinding::geometry();
        const QWidget* client = widget_->parentWidget();
        const int height = toPixels(picture_.height());
        return QRect(0, client->height() - height, client->width(), height);
    }
    void syncContent() override {
        if (!image_.update(picture_.image(), widget_->size())) return;
        widget_->setPixmap(
            drawImage(picture_.image(), widget_->size(), widget_->devicePixelRatioF()));
    }
    Picture& picture_;
    QLabel* widget_;
    DrawnImage image_;
};

// A hyperlink: underlined text in the highlight colour, in the 8.25-point dialog font, on
// the light grey of the control, its label sized to the text at the control's corner.
class LinkBinding : public ControlBinding {
  public:
    LinkBinding(LinkLabel& link, QWidget* parent, ViewState& view)
        : ControlBinding(link, view), link_(link), widget_(createWidget<QLabel>(link, parent)) {
        constexpr qreal kDialogFontPoints = 8.25;
        const QColor kBackground(212, 208, 200);
        QFont font = widget_->font();
        font.setPointSizeF(kDialogFontPoints);
        font.setUnderline(true);
        widget_->setFont(font);
        QPalette palette = widget_->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
        palette.setColor(QPalette::Window, kBackground);
        widget_->setPalette(palette);
        widget_->setAutoFillBackground(true);
        widget_->setCursor(Qt::PointingHandCursor);
        widget_->installEventFilter(this);
    }
    QWidget* widget() const override { return widget_; }

  private:
    QRect geometry() const override {
        return QRect(QPoint(toPixels(link_.left()), toPixels(link_.top())), widget_->sizeHint());
    }
    void syncContent() override {
        setTextIfChanged(widget_, link_.text());
        widget_->setGeometry(geometry());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && operatorAction()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // Button bits as the link's handler knows them: 1 left, 2 right, 4 middle.
            int bits = 0;
            if (mouse->button() == Qt::LeftButton) bits = 1;
            if (mouse->button() == Qt::RightButton) bits = 2;
            if (mouse->button() == Qt::MiddleButton) bits = 4;
            if (bits != 0) link_.mouseDown(bits);
            return true;
        }
        return ControlBinding::eventFilter(watched, event);
    }
    LinkLabel& link_;
    QLabel* widget_;
};

// A group box that draws nothing, caption included, when the frame has no border.
class FrameWidget : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;
    bool bordered = true;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (bordered) QGroupBox::paintEvent(event);
    }
};

class FrameBinding : public ControlBinding {
  public:
    FrameBinding(Frame& frame, QWidget* parent, ViewState& view)
        : ControlBinding(frame, view),
          frame_(frame),
          widget_(createWidget<FrameWidget>(frame, parent)) {}
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        if (widget_->title() != toQt(frame_.caption())) widget_->setTitle(toQt(frame_.caption()));
        if (widget_->bordered != frame_.bordered()) {
            widget_->bordered = frame_.bordered();
            widget_->update();
        }
    }
    Frame& frame_;
    FrameWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlBinding> bindLabel(Label& label, QWidget* parent, ViewState& view) {
    return std::make_unique<LabelBinding>(label, parent, view);
}
std::unique_ptr<ControlBinding> bindButton(Button& button, QWidget* parent, ViewState& view) {
    return std::make_unique<ButtonBinding>(button, parent, view);
}
std::unique_ptr<ControlBinding> bindCheckBox(CheckBox& box, QWidget* parent, ViewState& view) {
    return std::make_unique<CheckBoxBinding>(box, parent, view);
}
std::unique_ptr<ControlBinding> bindOptionButton(OptionButton& option, QWidget* parent,
                                                 ViewState& view) {
    return std::make_unique<OptionButtonBinding>(option, parent, view);
}
std::unique_ptr<ControlBinding> bindPicture(Picture& picture, QWidget* parent, ViewState& view) {
    return std::make_unique<PictureBinding>(picture, parent, view);
}
std::unique_ptr<ControlBinding> bindLink(LinkLabel& link, QWidget* parent, ViewState& view) {
    return std::make_unique<LinkBinding>(link, parent, view);
}
std::unique_ptr<ControlBinding> bindFrame(Frame& frame, QWidget* parent, ViewState& view) {
    return std::make_unique<FrameBinding>(frame, parent, view);
}

}  // namespace plx::qtp
