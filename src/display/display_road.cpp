#include "display/display_road.h"

#include <algorithm>
#include <utility>

#include "display/display_command.h"
#include "display/host_number.h"
#include "display/terminal_frame.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "shared/numeric_text.h"

namespace plx {

namespace {

// Datagrams handed to the system in one call at most: a broadcast's first terminals do not
// wait for its last ones.
constexpr std::size_t kBatchLimit = 64;

}  // namespace

class DisplayRoad::Dispatch {
  public:
    explicit Dispatch(DisplayRoad& road) : road_(road) { ++road_.dispatches_; }
    ~Dispatch() {
        if (--road_.dispatches_ == 0) road_.sendBatch();
    }
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

  private:
    DisplayRoad& road_;
};

DisplayRoad::DisplayRoad(Gateway& gateway)
    : SOCK_UPD(gateway.platform().createUdpSocket()), gateway_(gateway) {}

void DisplayRoad::GEST_CMD(const std::string& THE_CMD) {
    if (THE_CMD.empty()) return;  // names neither a terminal nor a value
    const std::string numberText(numberField(THE_CMD));
    const std::string command = displayCommand(THE_CMD);

    const SharedState& state = gateway_.state();
    // A number outside the table (sign, exponent, radix prefix) is as unknown as a number
    // that no terminal has: nothing is sent, and the host programmer sees why.
    const std::optional<int> number = hostTerminalNumber(numberText);
    if (!number || state.TAB_ROW_OF_NO[*number] == kNoRow) {
        ++gateway_.state().STATS.unknownTerminals;
        gateway_.window<F_EVENTS>().ADD_EVENTS(
            -1, "Warning",
            "<" + command + "> " + "The product number " + numberText + " does not exist !", true);
        return;
    }
    if (numberText.find('*') == std::string::npos) {
        SEND_CMD_UDP(state.TAB_ROW_OF_NO[*number], command);
        return;
    }
    const Dispatch broadcast(*this);
    for (int row = 0; row < state.ROW_COUNT; ++row) SEND_CMD_UDP(row, command);
}

void DisplayRoad::SEND_CMD_UDP(int Index, const std::string& ID_CMD) {
    // Rows past the tables can only come from an over-long list: nothing to send them to.
    if (Index < 0 || Index >= kMaxRows) return;
    const Dispatch dispatch(*this);
    // What the row shows is known once its waiting copies have gone.
    if (rowWaits(Index)) sendBatch();
    SharedState& state = gateway_.state();
    const std::string shown = shownValue(ID_CMD);
    if (state.TAB_AFF_VALUE[Index] == shown) {  // the terminal already shows it
        ++state.STATS.commandsAlreadyShown;
        return;
    }

    // Everything the sends need is taken now, in this call's own copies: the pump after
    // each send may run a nested command that sends elsewhere.
    const std::string frame = terminalFrame(ID_CMD, state.TAB_COLOR_PATERN);
    const std::string address = state.TAB_IP[Index];
    const std::uint64_t command = ++commands_;
    // Counted down by each copy that goes, and by the end of this call.
    unsent_.push_back({command, Index, shown, kCopiesPerCommand + 1, false});
    for (int copy = 0; copy < kCopiesPerCommand; ++copy) {
        queueCopy(command, Index, address, frame);
        if (gateway_.platform().eventsMayWait()) pumpBetweenCopies();
    }

    gateway_.window<F_EVENTS>().ADD_EVENTS(Index, "CMD",
                                           "<" + frame.substr(0, kFrameBytes - 1) + ">", false);
    // The memory is written after both copies and the events between them, once the copies
    // have gone: now, or when the batch leaves.
    countDown(command, false);
}

void DisplayRoad::pumpBetweenCopies() {
    sendBatch();
    // The pumped events are dispatches of their own, whose datagrams leave when they end.
    const int outer = std::exchange(dispatches_, 0);
    try {
        gateway_.pump();
    } catch (...) {
        dispatches_ = outer;
        throw;
    }
    dispatches_ = outer;
}

void DisplayRoad::queueCopy(std::uint64_t command, int row, const std::string& address,
                            const std::string& frame) {
    batch_.push_back({address, kTerminalPort, frame});
    waiting_.push_back({command, row});
    if (batch_.size() >= kBatchLimit) sendBatch();
}

void DisplayRoad::sendBatch() {
    if (batch_.empty()) return;
    const std::vector<bool> left = SOCK_UPD->sendDatagrams(batch_);
    const std::vector<Waiting> sent = std::move(waiting_);
    batch_.clear();
    waiting_.clear();
    for (std::size_t i = 0; i < sent.size(); ++i) countDown(sent[i].command, left[i]);
}

void DisplayRoad::countDown(std::uint64_t command, bool left) {
    const auto found = std::find_if(unsent_.begin(), unsent_.end(),
                                    [command](const Unsent& c) { return c.command == command; });
    found->left = found->left || left;
    if (--found->copiesToGo > 0) return;
    // A command that never left is not remembered, so the same command later tries again.
    if (found->left) {
        SharedState& state = gateway_.state();
        state.TAB_AFF_VALUE[found->row] = found->shown;
        state.TAB_AFF_TIME[found->row] = gateway_.platform().uptimeMs();
        ++state.STATS.commandsSent;
    }
    unsent_.erase(found);
}

bool DisplayRoad::rowWaits(int row) const {
    return std::any_of(waiting_.begin(), waiting_.end(),
                       [row](const Waiting& datagram) { return datagram.row == row; });
}

void DisplayRoad::synchronize(const std::string& origin) {
    SharedState& state = gateway_.state();
    for (std::string& shown : state.TAB_AFF_VALUE) shown.clear();
    {
        const Dispatch all(*this);
        // Each terminal by its own number, not by the broadcast form.
        const int rows = std::min(state.ROW_COUNT, kMaxRows);
        for (int row = 0; row < rows; ++row)
            GEST_CMD(fourDigits(state.TAB_NO_OF_ROW[row]) + "----0");
    }
    gateway_.window<F_EVENTS>().ADD_EVENTS(-1, "GENERAL", "Synchronize all products" + origin,
                                           true);
}

void DisplayRoad::rowRemoved(int row) {
    if (row < 0 || row >= kMaxRows) return;
    auto& shown = gateway_.state().TAB_AFF_VALUE;
    std::move(shown.begin() + row + 1, shown.end(), shown.begin() + row);
    shown.back().clear();
    auto& sentAt = gateway_.state().TAB_AFF_TIME;
    std::move(sentAt.begin() + row + 1, sentAt.end(), sentAt.begin() + row);
}

void DisplayRoad::rowReplaced(int row) {
    if (row >= 0 && row < kMaxRows) gateway_.state().TAB_AFF_VALUE[row].clear();
}

}  // namespace plx
