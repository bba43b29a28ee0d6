#include "console_log.h"

#include <cstdio>

#include "host_session.h"
#include "session_text.h"

namespace plx::sim {
namespace {

// Flushed line by line: a pipe reader (a test, a log file) sees each line at once.
void print(const QString& text) {
    std::fputs(logLine(text).toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

}  // namespace

ConsoleLog::ConsoleLog(HostSession& session) {
    connect(&session, &HostSession::note, this, &print);
    connect(&session, &HostSession::stateChanged, this, [&session] { print(describe(session)); });
    connect(&session, &HostSession::painted, this,
            [](const QByteArray&, const std::vector<HostFrame>& frames) {
                if (!frames.empty()) print(QStringLiteral("sent ") + framesText(frames));
            });
    print(QStringLiteral("Keys: d + Enter drops the line, s goes silent, r resumes"));
}

}  // namespace plx::sim
