// Bindings of text fields: single-line text boxes and editable combo boxes (a line edit
// that passes typed characters through the control's KeyPress first), and multi-line text
// boxes that follow their newest text.

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "platform/controls/text_box.h"
#include "platform/qt/binding_kinds.h"

namespace plx::qtp {
namespace {

class LineBinding : public ControlBinding {
  public:
    LineBinding(TextBox& box, QWidget* parent, ViewState& view)
        : ControlBinding(box, view), box_(box) {
        if (box.kind() == ControlKind::ComboBox) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            widget_ = combo;
            line_ = combo->lineEdit();
        } else {
            line_ = new QLineEdit(parent);
            widget_ = line_;
        }
        widget_->setObjectName(toQt(box.objectName()));
        // Keys and focus reach the combo box, which hands them to its line edit.
        watch(widget_);
        connect(line_, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (operatorAction()) box_.edit(fromQt(text));
        });
    }
    QWidget* widget() const override { return widget_; }

  private:
    void syncContent() override {
        const QString wanted = toQt(box_.text());
        if (line_->text() != wanted) {
            // Code that appends keeps the caret at the end; any other change puts it where it was.
            const bool atEnd = line_->cursorPosition() == line_->text().size();
            const int caret = line_->cursorPosition();
            line_->setText(wanted);
            line_->setCursorPosition(atEnd ? wanted.size() : std::min<int>(caret, wanted.size()));
        }
        line_->setReadOnly(box_.readOnly());
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && operatorAction()) {
            if (keyPress(*static_cast<QKeyEvent*>(event))) return true;
        }
        return ControlBinding::eventFilter(watched, event);
    }

    // A printable character goes through the control's KeyPress, which may change it or
    // discard it (code 0). Returns true when the key is consumed here.
    bool keyPress(const QKeyEvent& key) {
        if (!box_.onKeyPress || key.text().size() != 1) return false;
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return false;
        }
        const char16_t typed = key.text().front().unicode();
        if (typed < 0x20 || typed == 0x7f || typed > 0xff) return false;
        int code = typed;
        box_.onKeyPress(code);
        if (code == 0 || !view_.attached) return true;
        if (code == typed) return false;
        // The handler turned the key into another character: type that one instead.
        line_->insert(QString(QChar(static_cast<char16_t>(code & 0xff))));
        box_.setText(fromQt(line_->text()));
        return true;
    }

    TextBox& box_;
    QWidget* widget_ = nullptr;
    QLineEdit* line_ = nullptr;
};

// Text with line ends as the text widget shows them: CR LF and a lone CR become LF.
QString displayText(const std::string& text, bool afterCarriageReturn) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' && (i == 0 ? afterCarriageReturn : text[i - 1] == '\r')) continue;
        shown.append(c == '\r' ? QChar(u'\n')
                               : QChar(static_cast<char16_t>(static_cast<unsigned char>(c))));
    }
    return shown;
}

class MultiLineBinding : public ControlBinding {
  public:
    MultiLineBinding(TextBox& box, QWidget* parent, ViewState& view)
        : ControlBinding(box, view), box_(box), widget_(new QPlainTextEdit(parent)) {
        widget_->setObjectName(toQt(box.objectName()));
        widget_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        widget_->viewport()->installEventFilter(this);
        watch(widget_);
        connect(widget_, &QPlainTextEdit::textChanged, this, [this] {
            if (!operatorAction()) return;
            box_.setText(fromQt(widget_->toPlainText()));
            shown_ = box_.text();
        });
    }
    QWidget* widget() const override { return widget_; }
    bool deferred() const override { return true; }

  private:
    void syncContent() override {
        widget_->setReadOnly(box_.readOnly());
        const std::string& text = box_.text();
        if (text == shown_) return;
        QScrollBar* const bar = widget_->verticalScrollBar();
        if (text.size() > shown_.size() && text.compare(0, shown_.size(), shown_) == 0) {
            // Appended: insert only the new part at the end and follow it.
            const bool afterCr = !shown_.empty() && shown_.back() == '\r';
            QTextCursor end(widget_->document());
            end.movePosition(QTextCursor::End);
            end.insertText(displayText(text.substr(shown_.size()), afterCr));
            bar->setValue(bar->maximum());
        } else {
            widget_->setPlainText(displayText(text, false));
            bar->setValue(bar->maximum());
        }
        shown_ = text;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick && watched == widget_->viewport() &&
            operatorAction() && box_.onDblClick) {
            box_.onDblClick();
            return true;
        }
        return ControlBinding::eventFilter(watched, event);
    }

    TextBox& box_;
    QPlainTextEdit* widget_;
    std::string shown_;  // the control's text the widget shows
};

}  // namespace

std::unique_ptr<ControlBinding> bindTextBox(TextBox& box, QWidget* parent, ViewState& view) {
    if (box.multiLine()) return std::make_unique<MultiLineBinding>(box, parent, view);
    return std::make_unique<LineBinding>(box, parent, view);
}

}  // namespace plx::qtp
