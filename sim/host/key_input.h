#pragma once
// The simulator's keys on standard input, with or without its window: a key and Enter
// drop the line ("d"), make the host silent ("s") or resume ("r"). The demo script feeds
// them from its terminal.

#include <QObject>

class QSocketNotifier;

namespace plx::sim {

class HostSession;

class KeyInput : public QObject {
    Q_OBJECT
  public:
    explicit KeyInput(HostSession& session);
    KeyInput(const KeyInput&) = delete;
    KeyInput& operator=(const KeyInput&) = delete;

  private:
    void readKeys();

    HostSession& session_;
    QSocketNotifier* keys_;
};

}  // namespace plx::sim
