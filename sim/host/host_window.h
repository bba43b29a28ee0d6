#pragma once
// The simulator's window: the screen as the gateway's VT100 would show it, a log of the
// frames sent, and the buttons that drop the line, make the host silent and resume.

#include <QWidget>

#include "vt100_screen.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace plx::sim {

class HostSession;

class HostWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HostWindow(HostSession& session);
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

  private:
    void showState();
    void log(const QString& text);

    HostSession& session_;
    Vt100Screen screen_;
    QLabel* state_;
    QPlainTextEdit* screenView_;
    QPlainTextEdit* log_;
    QPushButton* drop_;
    QPushButton* silent_;
    QPushButton* resume_;
};

}  // namespace plx::sim
