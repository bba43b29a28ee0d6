// The simulated AS/400's scripting rules: which frames each step commands, and that the
// screens it paints carry exactly those frames where the gateway finds them.
#include "host/host_script.h"

#include <gtest/gtest.h>

#include <set>

#include "host/host_screens.h"
#include "host/host_session.h"
#include "host/vt100_screen.h"

namespace {

using namespace plx::sim;

// The gateway's rule: "<", nine characters that are neither "<" nor ">", then ">".
std::vector<QByteArray> framesIn(const QByteArray& stream) {
    std::vector<QByteArray> found;
    QByteArray buffer;
    for (const char c : stream) {
        if (c == '<' && buffer.size() < 10) {
            buffer = "<";
        } else if (buffer.isEmpty()) {
            continue;
        } else if (buffer.size() == 10) {
            if (c == '>') found.push_back(buffer.mid(1));
            buffer.clear();
        } else if (c == '>') {
            buffer.clear();
        } else {
            buffer.append(c);
        }
    }
    return found;
}

std::vector<QByteArray> commands(const std::vector<HostFrame>& frames) {
    std::vector<QByteArray> texts;
    for (const HostFrame& frame : frames) texts.push_back(frame.command);
    return texts;
}

const QTime kTenPastEight(8, 10, 42);

TEST(HostScript, TerminalZeroShowsTheClockTheOthersTheirCounters) {
    const std::vector<HostFrame> frames = framesForStep(ScriptSettings{}, 3, kTenPastEight);
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[0].command, "00000810" + QByteArray(1, colourAt(0, 3)));
    // Terminal n counts up by n per step: at step 3, terminal 5 shows 15.
    EXPECT_EQ(frames[5].command, "00050015" + QByteArray(1, colourAt(5, 3)));
    EXPECT_EQ(frames[11].command, "00110033" + QByteArray(1, colourAt(11, 3)));
}

TEST(HostScript, CountersAreFourDigitsWrappingAtTenThousand) {
    struct Case {
        int terminal, step;
        const char* shown;
    };
    for (const Case& c : {Case{1, 1, "0001"}, Case{7, 0, "0000"}, Case{11, 909, "9999"},
                          Case{11, 1000, "1000"}, Case{4, 2500, "0000"}}) {
        EXPECT_EQ(counterAt(c.terminal, c.step), c.shown) << c.terminal << " at " << c.step;
    }
}

TEST(HostScript, ColoursCoverZeroToNineAndA) {
    const std::set<char> all = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A'};
    // Each terminal goes through every colour in eleven steps ...
    for (const int terminal : {0, 5, 11}) {
        std::set<char> seen;
        for (int step = 1; step <= 11; ++step) seen.insert(colourAt(terminal, step));
        EXPECT_EQ(seen, all) << "terminal " << terminal;
    }
    // ... and one screen of twelve terminals shows every colour at once.
    std::set<char> onOneScreen;
    for (const HostFrame& frame : framesForStep(ScriptSettings{}, 4, kTenPastEight)) {
        onOneScreen.insert(frame.command.back());
    }
    EXPECT_EQ(onOneScreen, all);
}

TEST(HostScript, BroadcastAndUnknownNumberComeAtTheirCadence) {
    const ScriptSettings settings;  // broadcast every 10 steps, number 0999 every 7
    int broadcasts = 0;
    int unknown = 0;
    for (int step = 1; step <= 70; ++step) {
        const std::vector<HostFrame> frames = framesForStep(settings, step, kTenPastEight);
        const bool broadcast = step % 10 == 0;
        const bool stray = step % 7 == 0;
        ASSERT_EQ(frames.size(), 12u + broadcast + stray) << "step " << step;
        if (stray) {
            ++unknown;
            EXPECT_EQ(frames[12].command, "0999" + counterAt(1, step) + '0');
        }
        if (broadcast) {
            ++broadcasts;
            // Last on the screen, so every terminal shows the lamp test until the next step.
            EXPECT_EQ(frames.back().command.left(8), "****8888");
        }
    }
    EXPECT_EQ(broadcasts, 7);
    EXPECT_EQ(unknown, 10);
    EXPECT_EQ(framesForStep(settings, 10, kTenPastEight).back().command, "****88881");
    EXPECT_EQ(framesForStep(settings, 100, kTenPastEight).back().command, "****8888A");
}

TEST(HostScript, ApplicationScreenCarriesExactlyItsFrames) {
    ScriptSettings largest;
    largest.terminalCount = kMaxTerminals;
    for (const ScriptSettings& settings : {ScriptSettings{}, largest}) {
        const std::vector<HostFrame> frames = framesForStep(settings, 70, kTenPastEight);
        const QByteArray screen = applicationScreen(frames, 70, kTenPastEight);
        EXPECT_EQ(framesIn(screen), commands(frames));
        // And a VT100 shows each of them on the screen, none painted over.
        Vt100Screen vt100;
        vt100.feed(screen);
        const QString shown = vt100.text();
        for (const HostFrame& frame : frames) {
            EXPECT_TRUE(shown.contains('<' + QString::fromLatin1(frame.command) + '>'))
                << frame.command.constData();
        }
        EXPECT_TRUE(vt100.rows().first().contains("PLANT DISPLAY CONTROL"));
        EXPECT_TRUE(vt100.rows().last().contains("F3=Exit"));
    }
}

TEST(HostScript, SignOnScreensCarryNoFrame) {
    EXPECT_TRUE(framesIn(signOnScreen()).empty());
    EXPECT_TRUE(framesIn(signOnRefusedScreen()).empty());
    Vt100Screen vt100;
    vt100.feed(signOnRefusedScreen());
    EXPECT_EQ(vt100.rows().last(), kSignOnRefused);
    EXPECT_TRUE(vt100.rows()[0].contains("Sign On"));
}

TEST(HostScript, SignOnSplitsAtTheFirstTab) {
    struct Case {
        QByteArray typed, user, password;
    };
    for (const Case& c : {Case{"DEMO\tPLX400\r", "DEMO", "PLX400"}, Case{"\t\r", "", ""},
                          Case{"DEMO\r", "DEMO", ""}, Case{"A\tB\tC\r", "A", "B\tC"},
                          Case{"two words\tpass word\r", "two words", "pass word"}}) {
        const SignOn signOn = parseSignOn(c.typed);
        EXPECT_EQ(signOn.user, c.user) << c.typed.constData();
        EXPECT_EQ(signOn.password, c.password) << c.typed.constData();
    }
}

TEST(HostScript, Vt100ScreenPlacesClearsAndErases) {
    Vt100Screen vt100;
    vt100.feed("\x1b[5;10HAB\x1b[1mC\x1b[0m\x1b[HX\r\nY");
    EXPECT_EQ(vt100.rows()[4], QString(9, ' ') + "ABC");
    EXPECT_EQ(vt100.rows()[0], "X");
    EXPECT_EQ(vt100.rows()[1], "Y");
    vt100.feed("\x1b[5;11H\x1b[K");
    EXPECT_EQ(vt100.rows()[4], QString(9, ' ') + "A");
    vt100.feed("\x1b[2J");
    EXPECT_EQ(vt100.text(), QString(Vt100Screen::kRows - 1, '\n'));
}

}  // namespace
