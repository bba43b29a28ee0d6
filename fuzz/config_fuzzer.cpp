// The three configuration files, whatever they hold: a gateway starting on them indexes only
// what it may, loads the colours and settings it is given, writes back settings that read
// the same, sends only to the addresses of its list, and on shut-down writes back exactly
// the terminal list it loaded.
//
// Input: one byte saying which files exist (bit 0 products, bit 1 colours, bit 2 host
// settings), then the three files' bytes separated by the byte 0x1E.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "console/config_files.h"
#include "fuzz_gateway.h"
#include "platform/ipv4.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace {

std::array<std::string, 3> filesOf(const std::string& bytes) {
    std::array<std::string, 3> files;
    std::size_t from = 0;
    for (std::size_t i = 0; i < files.size() && from <= bytes.size(); ++i) {
        const std::size_t end = i + 1 < files.size() ? bytes.find('\x1e', from) : bytes.npos;
        files[i] = bytes.substr(from, end == bytes.npos ? bytes.npos : end - from);
        from = end == bytes.npos ? bytes.size() + 1 : end + 1;
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned presence = data[0];
    const auto files = filesOf(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    plx::fake::FakePlatform platform;
    const std::string names[] = {plx::kProductsFile, plx::kColourFile, plx::kHostSettingsFile};
    for (std::size_t i = 0; i < files.size(); ++i) {
        if ((presence >> i & 1) != 0)
            FUZZ_CHECK(platform.files().replace(platform.folder() + "/" + names[i], files[i]));
    }
    plx::Gateway gateway{platform};
    gateway.start();

    // Every indexed number names a row that holds it: as many numbers are indexed as rows
    // hold the number that indexes them (counted by the standard library, which the fuzz
    // build does not instrument: a loop of ours over every number would cost most of a run).
    const plx::ListBox& list = gateway.window<plx::F_MAIN>().LST_PRODUIT;
    const auto products =
        (presence & 1) != 0 ? plx::splitLines(files[0]) : std::vector<std::string>{};
    FUZZ_CHECK(list.count() == static_cast<int>(products.size()));
    const plx::SharedState& state = gateway.state();
    const auto& index = state.TAB_ROW_OF_NO;
    long indexedRows = 0;
    for (int row = 0; row < list.count(); ++row) {
        const auto number = plx::wholeNumber(plx::EXTRACT_FIELD(list.text(row), ",", 1));
        if (number && *number >= 0 && *number < plx::kTerminalNumbers)
            indexedRows += index[static_cast<std::size_t>(*number)] == row;
    }
    FUZZ_CHECK(std::ssize(index) - std::count(index.begin(), index.end(), plx::kNoRow) ==
               indexedRows);

    // The colour table holds, per index, the pattern of the last line that names it.
    std::array<std::string, plx::kColourEntries> patterns;
    int listed = 0;
    for (const std::string& line :
         plx::splitLines((presence & 2) != 0 ? files[1] : plx::defaultColourFile())) {
        const auto colour = plx::parseColourLine(line);
        if (!colour) continue;
        ++listed;
        FUZZ_CHECK(colour->index >= 0);
        if (colour->index < plx::kColourEntries) patterns[colour->index] = colour->pattern;
    }
    FUZZ_CHECK(gateway.window<plx::F_AS400>().LST_COLOR_PATERN.count() == listed);
    FUZZ_CHECK(std::equal(patterns.begin(), patterns.end(), state.TAB_COLOR_PATERN.begin()));

    // The settings loaded are those of the file, and what is written reads back the same.
    plx::F_AS400& host = gateway.window<plx::F_AS400>();
    const plx::HostSettings loaded{host.INP_IP.text(), host.INP_PORT.text(), host.INP_PSW.text(),
                                   host.INP_USR.text(), host.SW_LOG.value()};
    if ((presence & 4) != 0) {
        const plx::HostSettingsLines read = plx::readHostSettings(files[2]);
        const std::string* fields[] = {&loaded.address, &loaded.port, &loaded.password,
                                       &loaded.user};
        for (std::size_t i = 0; i < read.texts.size(); ++i) FUZZ_CHECK(*fields[i] == read.texts[i]);
        if (read.logSwitch && *read.logSwitch >= 0 && *read.logSwitch <= 2)
            FUZZ_CHECK(loaded.logSwitch == *read.logSwitch);
    }
    host.B_SAVE_CFG_Click();
    const auto saved = platform.files().read(platform.folder() + "/" + plx::kHostSettingsFile);
    FUZZ_CHECK(saved.has_value());
    const plx::HostSettingsLines reread = plx::readHostSettings(*saved);
    FUZZ_CHECK(reread.texts.size() == 4 && reread.logSwitch == loaded.logSwitch);

    // Commands reach only the addresses of the list, and only as dotted addresses.
    host.GEST_CMD("****FUZZ0");
    for (int row = 0; row < std::min(list.count(), plx::kMaxRows); ++row) {
        if (const auto number = plx::wholeNumber(plx::EXTRACT_FIELD(list.text(row), ",", 1)))
            host.GEST_CMD(plx::fourDigits(*number) + "ROW A");
    }
    for (const plx::fake::Datagram& datagram : platform.datagrams) {
        FUZZ_CHECK(datagram.bytes.size() == 20);
        FUZZ_CHECK(plx::isDottedIPv4(datagram.address));
        FUZZ_CHECK(std::find(state.TAB_IP.begin(), state.TAB_IP.end(), datagram.address) !=
                   state.TAB_IP.end());
    }

    // Nothing is lost: the list goes back to disk as it was read.
    plx::fuzz::shutDown(gateway);
    const auto written = platform.files().read(platform.folder() + "/" + plx::kProductsFile);
    FUZZ_CHECK(written.has_value() && plx::splitLines(*written) == products);
    return 0;
}
