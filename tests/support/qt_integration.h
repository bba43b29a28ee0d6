#pragma once
// What the Qt integration tests share: one QApplication for the test program, bounded waits
// on the real event loop, a port nobody listens on, a gateway's folder and its daily log.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "whole_file.h"

namespace plx::qtp::testing {

// The application every test of this program runs in (offscreen, set by the test runner).
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "plx-integration-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: run at exit, its destructor would outlive Qt's own static objects.
    static QApplication* const app = new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until `done` holds or the bound has passed; returns `done`.
template <class Predicate>
bool waitFor(Predicate done, int boundMs = 5000) {
    return QTest::qWaitFor(done, boundMs);
}

// Runs the event loop until what was queued in it has run, with what that queued in turn,
// and the system has been asked twice more for socket and window events: an event that has
// not come then was never on its way. A wait for that, never for a time.
inline bool settle() {
    struct Marker : QObject {
        int seen = 0;
        bool event(QEvent* event) override {
            if (event->type() != QEvent::User) return QObject::event(event);
            ++seen;
            return true;
        }
    } marker;
    for (int round = 1; round <= 2; ++round) {
        // Low priority: it runs after every posted event of normal priority, old or new.
        QCoreApplication::postEvent(&marker, new QEvent(QEvent::User), Qt::LowEventPriority);
        if (!waitFor([&] { return marker.seen == round; })) return false;
    }
    return true;
}

// A loopback port no program listens on now.
inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// Every daily log file the gateway wrote in a folder, oldest name first (a run across
// midnight writes two); empty until one exists.
inline QByteArray dailyLogs(const QString& folder) {
    QByteArray all;
    for (const QString& name :
         QDir(folder).entryList({"Plyxen400_*.LOG"}, QDir::Files, QDir::Name)) {
        all += sim::wholeFile(QDir(folder).filePath(name));
    }
    return all;
}

// A gateway's folder of its own, removed with it: its files written and read whole.
class GatewayFolder : public QTemporaryDir {
  public:
    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray read(const QString& name) const { return sim::wholeFile(filePath(name)); }
    QByteArray log() const { return dailyLogs(path()); }
};

}  // namespace plx::qtp::testing
