// The host stream however the transport cuts it: the frame scan alone, and the gateway's
// reception with the dispatcher behind it, give the same frames and the same datagrams, in
// the same order, for the stream fed whole and fed in pieces (some of them arriving while
// an older piece's datagrams are still being sent).
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fuzz_gateway.h"
#include "hostlink/frame_scanner.h"

namespace {

using plx::fake::Datagram;

constexpr std::size_t kMaxCuts = 16;  // pieces per stream: enough to cut every frame a few times
// Terminal 0000 makes "****" a broadcast.
const std::vector<std::string> kTerminals = {"0000,,127.0.10.1,Line 0", "0001,,127.0.10.2,Line 1",
                                             "0012,,127.0.10.3,Line 12"};
const std::set<std::string> kAddresses = {"127.0.10.1", "127.0.10.2", "127.0.10.3"};

// Back to the state after start-up once an input has run, so that the next runs as on a fresh
// gateway (starting one per input would spend the fuzzing time on start-up): "<" starts or
// drops an unfinished frame and ">" right after it is a frame too short to dispatch. What the
// input made is freed with it: libFuzzer looks for a leak, at great cost, after any input
// that kept memory.
void startAfresh(plx::fuzz::OnlineGateway& line) {
    line.platform.onPump = nullptr;  // it refers to the input's pieces
    line.platform.tcp().receive("<>");
    line.platform.runEvents();
    line.gateway.state().TAB_AFF_VALUE.fill({});
    line.platform.datagrams.clear();
    line.platform.tcp().sent.clear();
    line.platform.journalLines.clear();
    line.platform.fakeFiles().clear();
}

std::vector<std::string> piecesOf(const std::string& stream, std::vector<std::size_t> cuts) {
    for (auto& cut : cuts) cut %= stream.size() + 1;
    std::sort(cuts.begin(), cuts.end());
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        pieces.push_back(stream.substr(from, cut - from));
        from = cut;
    }
    pieces.push_back(stream.substr(from));
    // An empty read is no DataArrival.
    pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
    return pieces;
}

void checkScanner(const std::string& stream, const std::vector<std::string>& pieces) {
    plx::FrameScanner whole;
    const std::vector<std::string> frames = whole.scan(stream);
    plx::FrameScanner split;
    std::vector<std::string> splitFrames;
    for (const std::string& piece : pieces) {
        for (std::string& frame : split.scan(piece)) splitFrames.push_back(std::move(frame));
    }
    FUZZ_CHECK(frames == splitFrames);
    std::size_t searchFrom = 0;
    for (const std::string& frame : frames) {
        FUZZ_CHECK(frame.size() == plx::FrameScanner::kFrameContent);
        FUZZ_CHECK(frame.find_first_of("<>") == std::string::npos);
        const std::size_t at = stream.find("<" + frame + ">", searchFrom);
        FUZZ_CHECK(at != std::string::npos);  // in stream order
        searchFrom = at + frame.size() + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::size_t> cuts(input.ConsumeIntegralInRange<std::size_t>(0, kMaxCuts));
    for (auto& cut : cuts) cut = input.ConsumeIntegral<std::uint16_t>();
    // Bit i set: piece i + 1 arrives during the datagrams of the pieces before it.
    const auto arrivesDuringSend = input.ConsumeIntegral<std::uint16_t>();
    const std::string stream = input.ConsumeRemainingBytesAsString();
    if (stream.empty()) return 0;
    const std::vector<std::string> pieces = piecesOf(stream, cuts);

    checkScanner(stream, pieces);

    static plx::fuzz::OnlineGateway whole(kTerminals);
    static plx::fuzz::OnlineGateway split(kTerminals);

    whole.platform.tcp().receive(stream);
    whole.platform.runEvents();

    auto& tcp = split.platform.tcp();
    std::size_t next = 0;
    split.platform.onPump = [&] {
        if (next < pieces.size() && (arrivesDuringSend >> (next % 16) & 1) != 0) {
            tcp.receive(pieces[next++]);
        }
    };
    while (next < pieces.size()) {
        tcp.receive(pieces[next++]);
        split.platform.runEvents();
    }
    split.platform.runEvents();

    FUZZ_CHECK(!tcp.hasPendingData());
    FUZZ_CHECK(whole.platform.datagrams == split.platform.datagrams);
    for (const Datagram& datagram : whole.platform.datagrams) {
        FUZZ_CHECK(datagram.bytes.size() == 20);
        FUZZ_CHECK(datagram.port == 1024);
        FUZZ_CHECK(kAddresses.count(datagram.address) == 1);
    }
    startAfresh(whole);
    startAfresh(split);
    return 0;
}
