#include "display/display_road.h"

#include <algorithm>
#include <utility>

#include "display/datagram_failures.h"
#include "display/display_command.h"
#include "display/host_number.h"
#include "eventlog/event_log.h"
#include "shared/event_nesting.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"

namespace plx {

namespace {

// Datagrams handed to the system in one call at most: a broadcast's first terminals do not
// wait for its last ones.
constexpr std::size_t kBatchLimit = 64;

// Why a terminal's datagrams do not leave, as its warning says it.
std::string_view failureText(DatagramOutcome outcome) {
    for (const DatagramFailure& failure : kDatagramFailures) {
        if (failure.outcome == outcome) return failure.told;
    }
    return {};
}

}  // namespace

class DisplayRoad::Nested {
  public:
    explicit Nested(DisplayRoad& road) : road_(road), outer_(std::exchange(road.dispatches_, 0)) {}
    ~Nested() { road_.dispatches_ = outer_; }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;

  private:
    DisplayRoad& road_;
    int outer_;
};

DisplayRoad::DisplayRoad(Platform& platform, SharedState& state, EventLog& log,
                         EventNesting& nesting)
    : SOCK_UPD(platform.createUdpSocket()),
      platform_(platform),
      state_(state),
      log_(log),
      nesting_(nesting) {
    batch_.reserve(kBatchLimit);
    outgoing_.reserve(kBatchLimit);
    outcomes_.reserve(kBatchLimit);
    underWay_.reserve(kBatchLimit);
}

void DisplayRoad::GEST_CMD(const std::string& THE_CMD) {
    if (THE_CMD.empty()) return;  // names neither a terminal nor a value
    const std::string numberText(numberField(THE_CMD));
    const std::string command = displayCommand(THE_CMD);

    // A number outside the table (sign, exponent, radix prefix) is as unknown as a number
    // that no terminal has: nothing is sent, and the host programmer sees why.
    const std::optional<int> number = hostTerminalNumber(numberText);
    if (!number || state_.TAB_ROW_OF_NO[*number] == kNoRow) {
        ++state_.STATS.unknownTerminals;
        sendBatch();  // the lines of the commands before it come first
        log_.ADD_EVENTS(
            -1, "Warning",
            "<" + command + "> " + "The product number " + numberText + " does not exist !", true);
        return;
    }
    if (numberText.find('*') == std::string::npos) {
        SEND_CMD_UDP(state_.TAB_ROW_OF_NO[*number], command);
        return;
    }
    const Dispatch broadcast(*this);
    for (int row = 0; row < state_.ROW_COUNT; ++row) SEND_CMD_UDP(row, command);
}

void DisplayRoad::SEND_CMD_UDP(int Index, const std::string& ID_CMD) {
    // Rows past the tables can only come from an over-long list: nothing to send them to.
    if (Index < 0 || Index >= kMaxRows) return;
    const Dispatch dispatch(*this);
    // What the row shows is known once its waiting copies have gone.
    if (rowWaits(Index)) sendBatch();
    std::string shown = shownValue(ID_CMD);
    if (state_.TAB_AFF_VALUE[Index] == shown) {  // the terminal already shows it
        ++state_.STATS.commandsAlreadyShown;
        return;
    }

    // Everything the sends need is taken now, into the command's own record: the pump after
    // each send may run a nested command that sends elsewhere. Counted down by each copy
    // that goes, and by the end of this call.
    const std::uint64_t command = ++commands_;
    underWay_.push_back({command, Index, state_.TAB_IP[Index],
                         terminalFrame(ID_CMD, state_.TAB_COLOR_PATERN), std::move(shown),
                         kCopiesPerCommand + 1, false, DatagramOutcome::Left});
    for (int copy = 0; copy < kCopiesPerCommand; ++copy) {
        queueCopy(command, Index);
        if (platform_.eventsMayWait()) pumpBetweenCopies();
    }
    // The line and the memory come after both copies and the events between them, once
    // the copies have gone: now, or when the batch leaves.
    countDown(command, std::nullopt);
}

void DisplayRoad::pumpBetweenCopies() {
    sendBatch();
    const Nested pumped(*this);
    nesting_.pump();
}

void DisplayRoad::queueCopy(std::uint64_t command, int row) {
    batch_.push_back({command, row});
    if (batch_.size() >= kBatchLimit) sendBatch();
}

void DisplayRoad::sendBatch() {
    // A nested dispatch run by a wait sends what waits here before its own, in order; what
    // is left after the wait is taken as it is then.
    while (!batch_.empty()) {
        outgoing_.clear();
        for (const QueuedCopy& copy : batch_) {
            const auto found = std::find_if(
                underWay_.begin(), underWay_.end(),
                [&copy](const CommandUnderWay& c) { return c.command == copy.command; });
            outgoing_.push_back({found->address, kTerminalPort, found->frame.view()});
        }
        outcomes_.resize(outgoing_.size());
        const std::size_t handled = SOCK_UPD->send(outgoing_, outcomes_);
        for (std::size_t i = 0; i < handled; ++i) countDown(batch_[i].command, outcomes_[i]);
        batch_.erase(batch_.begin(), batch_.begin() + static_cast<std::ptrdiff_t>(handled));
        if (!batch_.empty()) waitOrGiveUp();
    }
}

void DisplayRoad::waitOrGiveUp() {
    const long long now = platform_.uptimeMs();
    if (busySinceMs_ < 0) busySinceMs_ = now;
    const long long patience = busySinceMs_ + kStalledAfterMs - now;
    if (!stalled_ && patience > 0) {
        ++state_.STATS.datagramSendWaits;
        const Nested waiting(*this);
        nesting_.awaitWritable(*SOCK_UPD, static_cast<int>(patience));
        return;
    }
    stalled_ = true;
    const QueuedCopy given = batch_.front();
    batch_.erase(batch_.begin());
    countDown(given.command, DatagramOutcome::Busy);
}

void DisplayRoad::countDown(std::uint64_t command, std::optional<DatagramOutcome> outcome) {
    const auto found =
        std::find_if(underWay_.begin(), underWay_.end(),
                     [command](const CommandUnderWay& c) { return c.command == command; });
    if (outcome) {
        ++state_.STATS.datagramsOf(*outcome);
        if (*outcome == DatagramOutcome::Left) {
            found->anyCopyLeft = true;
            busySinceMs_ = -1;
            stalled_ = false;
        } else {
            found->failure = *outcome;
        }
    }
    if (--found->copiesToGo > 0) return;
    const CommandUnderWay done = std::move(*found);
    underWay_.erase(found);
    commandDone(done);
}

void DisplayRoad::commandDone(const CommandUnderWay& done) {
    // Sent twice, logged, remembered.
    commandText_.assign(1, '<');
    commandText_.append(done.frame.view().substr(0, kFrameBytes - 1));
    commandText_ += '>';
    log_.ADD_EVENTS(done.row, "CMD", commandText_, false);
    if (done.anyCopyLeft) {
        state_.TAB_AFF_VALUE[done.row] = done.shown;
        state_.TAB_AFF_TIME[done.row] = platform_.uptimeMs();
        ++state_.STATS.commandsSent;
        failureTold_[done.row] = false;
        return;
    }
    // A command that never left is not remembered, so the same command later tries again;
    // the terminal's failure is told once, not at every frame.
    if (failureTold_[done.row]) return;
    failureTold_[done.row] = true;
    log_.ADD_EVENTS(done.row, "Warning",
                    "Datagrams cannot be sent to \"" + done.address +
                        "\": " + std::string(failureText(done.failure)),
                    true);
}

bool DisplayRoad::rowWaits(int row) const {
    return std::any_of(batch_.begin(), batch_.end(),
                       [row](const QueuedCopy& datagram) { return datagram.row == row; });
}

void DisplayRoad::synchronize(const std::string& origin) {
    for (std::string& shown : state_.TAB_AFF_VALUE) shown.clear();
    {
        const Dispatch all(*this);
        // Each terminal by its own number, not by the broadcast form.
        const int rows = std::min(state_.ROW_COUNT, kMaxRows);
        for (int row = 0; row < rows; ++row)
            GEST_CMD(fourDigits(state_.TAB_NO_OF_ROW[row]) + "----0");
    }
    log_.ADD_EVENTS(-1, "GENERAL", "Synchronize all products" + origin, true);
}

void DisplayRoad::rowRemoved(int row) {
    if (row < 0 || row >= kMaxRows) return;
    auto& shown = state_.TAB_AFF_VALUE;
    std::move(shown.begin() + row + 1, shown.end(), shown.begin() + row);
    shown.back().clear();
    auto& sentAt = state_.TAB_AFF_TIME;
    std::move(sentAt.begin() + row + 1, sentAt.end(), sentAt.begin() + row);
    for (int below = row; below + 1 < kMaxRows; ++below)
        failureTold_[below] = failureTold_[below + 1];
    failureTold_[kMaxRows - 1] = false;
}

void DisplayRoad::rowReplaced(int row) {
    if (row < 0 || row >= kMaxRows) return;
    state_.TAB_AFF_VALUE[row].clear();
    failureTold_[row] = false;
}

}  // namespace plx
