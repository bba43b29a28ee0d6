#include "host_replay.h"

#include <cstdio>
#include <memory>

#include "console/config_files.h"
#include "console/terminal_tables.h"
#include "display/display_command.h"
#include "display/terminal_frame.h"
#include "gateway/gateway_core.h"
#include "platform/fake/fake_platform.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace plx::replay {
namespace {

const std::string kProducts = "Products.cfg ";
const std::string kColours = "Color_Patern.txt ";
const std::string kConnected = "Connected";
const std::string kRead = "RX-AS400 ";

std::string hex(std::string_view bytes) {
    std::string text;
    for (const char byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, " %02X", static_cast<unsigned char>(byte));
        text += digits;
    }
    return text.substr(1);
}

// Writes the report as the core reports to its event log, its sockets and its counts.
class Reporter {
  public:
    Reporter(fake::FakePlatform& platform, GatewayCore& core, fake::FakeTcpClient& host)
        : platform_(platform), core_(core), host_(host) {}

    void line(int indent, const std::string& text) {
        text_.append(static_cast<std::size_t>(indent), ' ');
        text_ += text;
        text_ += '\n';
    }
    void readStarts(const std::string& bytes) {
        line(0, kRead + ESCAPE_CTRL_CHARS(bytes));
        answered_ = host_.sent.size();
    }
    void readEnds() {
        frameEnds();
        repliesSent();
    }
    void frameStarts(const std::string& frame) {
        readEnds();  // the answers left before the first frame
        const std::string shown = shownValue(displayCommand(frame));
        line(2, "frame <" + ESCAPE_CTRL_CHARS(frame) + "> value \"" +
                    ESCAPE_CTRL_CHARS(shown.substr(0, 4)) + "\" colour \"" +
                    ESCAPE_CTRL_CHARS(shown.substr(6)) + "\"");
        shownBefore_ = core_.state.STATS.commandsAlreadyShown;
        inFrame_ = true;
    }
    // The newest event of the log.
    void logged(const Event& event) {
        if (event.mode == "CMD") return commandSent(event);
        if (event.mode == "Warning") line(inFrame_ ? 4 : 2, "Warning " + event.text);
    }
    const std::string& text() const { return text_; }

  private:
    void frameEnds() {
        if (!inFrame_) return;
        inFrame_ = false;
        const long long dropped = core_.state.STATS.commandsAlreadyShown - shownBefore_;
        if (dropped > 0) line(4, "already shown by " + std::to_string(dropped) + " terminal(s)");
    }
    void repliesSent() {
        for (; answered_ < host_.sent.size(); ++answered_)
            line(2, "reply " + ESCAPE_CTRL_CHARS(host_.sent[answered_]));
    }
    // The "CMD" line of a command both of whose copies have gone: its text is the frame
    // without its end byte; the copies that left are the next datagrams to its terminal.
    void commandSent(const Event& event) {
        const std::string frame = event.text.substr(1, kFrameBytes - 1) + '\x03';
        const SharedState& state = core_.state;
        const std::string& address = state.TAB_IP[state.TAB_ROW_OF_NO[event.terminal]];
        int copies = 0;
        for (;
             left_ < platform_.datagrams.size() && platform_.datagrams[left_].address == address &&
             platform_.datagrams[left_].bytes == frame;
             ++left_)
            ++copies;
        line(4, fourDigits(event.terminal) + " \"" + ESCAPE_CTRL_CHARS(address) + "\" pattern " +
                    frame.substr(13, 4) + " sent " + std::to_string(copies) + "x " + hex(frame));
    }

    fake::FakePlatform& platform_;
    GatewayCore& core_;
    fake::FakeTcpClient& host_;
    std::string text_;
    std::size_t answered_ = 0;  // replies reported
    std::size_t left_ = 0;      // datagrams reported
    long long shownBefore_ = 0;
    bool inFrame_ = false;
};

}  // namespace

Recording readRecording(std::string_view text) {
    Recording recording;
    for (const std::string& line : splitLines(text)) {
        if (line.starts_with(kProducts)) {
            recording.products.push_back(line.substr(kProducts.size()));
        } else if (line.starts_with(kColours)) {
            if (!recording.colours) recording.colours.emplace();
            recording.colours->push_back(line.substr(kColours.size()));
        } else if (line == kConnected) {
            recording.reads.emplace_back();
        } else if (line.starts_with(kRead)) {
            recording.reads.push_back(unescapeControlChars(line.substr(kRead.size())));
        } else if (const auto event = EventLog::parse(line)) {
            if (event->mode == "RX-AS400")
                recording.reads.push_back(unescapeControlChars(event->text));
            if (event->mode == "Status" && event->text.starts_with(kConnected))
                recording.reads.emplace_back();
        }
    }
    return recording;
}

std::string replay(const Recording& recording) {
    // Deterministic and closed: its datagrams and answers are only recorded.
    fake::FakePlatform platform(u8"plyxen400-replay");
    GatewayCore core(platform);
    core.state.APP_PATH = platform.folder();
    std::unique_ptr<TcpClientPort> host = platform.createTcpClient();
    platform.tcp().acceptConnection();
    platform.runEvents();
    Reporter report(platform, core, platform.tcp());

    for (const std::string& entry : recording.products) report.line(0, kProducts + entry);
    rebuildTerminalTables(core.state, recording.products);
    const std::string colours =
        recording.colours ? joinLines(*recording.colours) : defaultColourFile();
    for (const std::string& line : readColourTable(core.state.TAB_COLOR_PATERN, colours)) {
        if (recording.colours) report.line(0, kColours + line);
    }

    core.log.onEvent = [&] { report.logged(core.log.event(core.log.count() - 1)); };
    core.host.onFrame = [&](const std::string& frame) { report.frameStarts(frame); };
    const std::string password;  // what the lines show is masked already
    for (const std::optional<std::string>& read : recording.reads) {
        if (!read) {
            core.host.end(false);
            report.line(0, kConnected);
            continue;
        }
        report.readStarts(*read);
        core.host.read(*read, {password, false, *host});
        report.readEnds();
    }
    return report.text();
}

}  // namespace plx::replay
