#pragma once
// The simulator without a window: what it sends and what happens go to standard output,
// one line each, flushed at once.

#include <QObject>

namespace plx::sim {

class HostSession;

class ConsoleLog : public QObject {
    Q_OBJECT
  public:
    explicit ConsoleLog(HostSession& session);
    ConsoleLog(const ConsoleLog&) = delete;
    ConsoleLog& operator=(const ConsoleLog&) = delete;
};

}  // namespace plx::sim
