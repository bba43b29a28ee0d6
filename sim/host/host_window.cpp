#include "host_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "host_session.h"
#include "session_text.h"

namespace plx::sim {
namespace {

constexpr int kLogLines = 1000;  // the log keeps this many lines, the oldest go first

QPlainTextEdit* readOnlyText(QWidget* parent) {
    auto* text = new QPlainTextEdit(parent);
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    return text;
}

}  // namespace

HostWindow::HostWindow(HostSession& session)
    : session_(session),
      state_(new QLabel(this)),
      screenView_(readOnlyText(this)),
      log_(readOnlyText(this)),
      drop_(new QPushButton(QStringLiteral("Drop line"), this)),
      silent_(new QPushButton(QStringLiteral("Go silent"), this)),
      resume_(new QPushButton(QStringLiteral("Resume"), this)) {
    setObjectName(QStringLiteral("F_AS400_SIMULATOR"));
    drop_->setObjectName(QStringLiteral("B_DROP_LINE"));
    silent_->setObjectName(QStringLiteral("B_GO_SILENT"));
    resume_->setObjectName(QStringLiteral("B_RESUME"));

    // The screen view is sized to a full VT100 screen, green on black like the real one.
    screenView_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: black; color: #3f3; }"));
    const QFontMetrics metrics(screenView_->font());
    screenView_->setFixedSize(metrics.horizontalAdvance(QString(Vt100Screen::kColumns + 2, 'M')),
                              metrics.lineSpacing() * (Vt100Screen::kRows + 1));
    screenView_->setPlainText(screen_.text());
    log_->setMaximumBlockCount(kLogLines);
    log_->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // a screen's frames on one line each

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(state_, 1);
    buttons->addWidget(drop_);
    buttons->addWidget(silent_);
    buttons->addWidget(resume_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(screenView_);
    layout->addWidget(log_, 1);
    resize(width(), 700);

    connect(drop_, &QPushButton::clicked, &session_, &HostSession::dropLine);
    connect(silent_, &QPushButton::clicked, &session_, &HostSession::goSilent);
    connect(resume_, &QPushButton::clicked, &session_, &HostSession::resume);
    connect(&session_, &HostSession::stateChanged, this, &HostWindow::showState);
    connect(&session_, &HostSession::note, this, [this](const QString& text) {
        log(text);
        showState();
    });
    connect(&session_, &HostSession::painted, this,
            [this](const QByteArray& screen, const std::vector<HostFrame>& frames) {
                screen_.feed(screen);
                screenView_->setPlainText(screen_.text());
                if (!frames.empty()) log(framesText(frames));
                showState();
            });
    showState();
}

void HostWindow::showState() {
    setWindowTitle(QStringLiteral("AS/400 simulator - port %1").arg(session_.host().port()));
    state_->setText(
        describe(session_) +
        QStringLiteral("   (user %1)").arg(QString::fromLatin1(session_.settings().user)));
    drop_->setEnabled(session_.host().connected());
    silent_->setEnabled(!session_.silent());
    resume_->setEnabled(session_.silent());
}

void HostWindow::log(const QString& text) {
    log_->appendPlainText(logLine(text));
}

}  // namespace plx::sim
