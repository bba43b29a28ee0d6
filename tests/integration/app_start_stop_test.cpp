// The real executable, headless, started in an empty folder and stopped by a signal: it
// must leave its files as closing the main window does.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "integration/platform_qt_test_support.h"

namespace plx {
namespace {

using qtp::testing::application;
using qtp::testing::waitFor;

constexpr int kStartBoundMs = 15000;  // generous: the CI machine is shared
constexpr int kStopBoundMs = 15000;

class AppStartStop : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(folder.isValid());
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Every daily log file of the run (a run across midnight writes two).
    QByteArray logs() const { return plx::qtp::testing::dailyLogs(folder.path()); }

    // Starts the gateway as a service would: no display at all, nothing chosen for Qt.
    void start() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        gateway.setProcessEnvironment(environment);
        gateway.setWorkingDirectory(folder.path());
        gateway.setProcessChannelMode(QProcess::ForwardedChannels);
        gateway.start(QString::fromLatin1(PLX_EXECUTABLE), {});
        ASSERT_TRUE(gateway.waitForStarted(kStartBoundMs));
        // The colour file is written during start-up, before the main window shows.
        ASSERT_TRUE(
            waitFor([&] { return QFile::exists(path("Color_Patern.txt")); }, kStartBoundMs));
        ASSERT_TRUE(waitFor([&] { return logs().contains("START SOFTWARE"); }, kStartBoundMs));
    }
    void stopWith(int signalNumber) {
        ASSERT_EQ(::kill(static_cast<pid_t>(gateway.processId()), signalNumber), 0);
        ASSERT_TRUE(gateway.waitForFinished(kStopBoundMs));
        EXPECT_EQ(gateway.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(gateway.exitCode(), 0);
    }

    QTemporaryDir folder;
    QProcess gateway;
};

TEST_F(AppStartStop, TerminationSignalsRunTheShutDownOfTheMainWindow) {
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signalNumber == SIGTERM ? "SIGTERM" : "SIGINT");
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        start();
        stopWith(signalNumber);

        EXPECT_EQ(read("Color_Patern.txt").count("\r\n"), 22);
        EXPECT_TRUE(QFile::exists(path("Products.cfg")));
        EXPECT_EQ(read("Products.cfg"), QByteArray());
        const QByteArray log = logs();
        EXPECT_TRUE(log.contains("GENERAL"));
        EXPECT_TRUE(log.contains("START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)"));
        EXPECT_TRUE(log.contains("CLOSE SOFTWARE"));
        EXPECT_LT(log.indexOf("START SOFTWARE"), log.indexOf("CLOSE SOFTWARE"));
    }
}

TEST_F(AppStartStop, TheTerminalListComesBackAsItWas) {
    const QByteArray products =
        "0001,,127.0.10.1,Line one\r\n"
        "0002,,127.0.10.2,Line two\r\n"
        "0107,,127.0.10.3,Packing\r\n";
    write("Products.cfg", products);
    start();
    stopWith(SIGTERM);
    EXPECT_EQ(read("Products.cfg"), products);
    EXPECT_EQ(logs().count("CLOSE SOFTWARE"), 1) << "a single shut-down";
}

}  // namespace
}  // namespace plx
