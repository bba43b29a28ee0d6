// The three configuration files, whatever they hold: the pure readers keep their shapes,
// and a gateway starting on them indexes only what it may, loads the settings it is given
// and, on shut-down, writes back exactly the terminal list it loaded.
//
// Input: one byte saying which files exist (bit 0 products, bit 1 colours, bit 2 host
// settings), then the three files' bytes separated by the byte 0x1E.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "console/config_files.h"
#include "console/f_main.h"
#include "gateway/gateway.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "fuzz_check.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"
#include "platform/ipv4.h"

namespace {

constexpr char kFileSeparator = '\x1e';

std::array<std::string, 3> filesOf(const std::string& bytes) {
    std::array<std::string, 3> files;
    std::size_t from = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::size_t end =
            i + 1 < files.size() ? bytes.find(kFileSeparator, from) : bytes.npos;
        files[i] = bytes.substr(from, end == bytes.npos ? bytes.npos : end - from);
        if (end == bytes.npos) break;
        from = end + 1;
    }
    return files;
}

void checkLines(const std::string& bytes) {
    const std::vector<std::string> lines = plx::splitLines(bytes);
    std::string rejoined;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        rejoined += line + plx::kLineEnd;
    }
    FUZZ_CHECK(plx::splitLines(rejoined) == lines);
}

void checkColourLine(const std::string& line) {
    const auto colour = plx::parseColourLine(line);
    const std::string character = plx::EXTRACT_FIELD(line, ",", 1);
    if (!colour) return;
    FUZZ_CHECK(colour->index >= 0);
    FUZZ_CHECK(colour->pattern == plx::trimSpaces(plx::EXTRACT_FIELD(line, ",", 2)));
    if (character.size() == 1 && character[0] >= '0' && character[0] <= '9')
        FUZZ_CHECK(colour->index == character[0] - '0');
    if (character.size() == 1 && character[0] >= 'A' && character[0] <= 'Z')
        FUZZ_CHECK(colour->index == character[0]);
    FUZZ_CHECK(!(line.size() > 0 && line[0] >= 'a' && line[0] <= 'z'));
}

void checkSwitchLine(const std::string& line) {
    if (const auto value = plx::switchValue(line)) FUZZ_CHECK(*value >= -32768 && *value <= 32767);
}

void checkStartUp(unsigned presence, const std::array<std::string, 3>& files) {
    plx::fake::FakePlatform platform;
    const std::string names[] = {plx::kProductsFile, plx::kColourFile, plx::kHostSettingsFile};
    for (std::size_t i = 0; i < files.size(); ++i) {
        if ((presence >> i & 1) != 0)
            FUZZ_CHECK(platform.files().replace(platform.folder() + "/" + names[i], files[i]));
    }
    plx::Gateway gateway{platform};
    gateway.start();

    const plx::ListBox& list = gateway.main().LST_PRODUIT;
    const std::vector<std::string> products =
        (presence & 1) != 0 ? plx::splitLines(files[0]) : std::vector<std::string>{};
    FUZZ_CHECK(list.count() == static_cast<int>(products.size()));
    const plx::SharedState& state = gateway.state();
    for (int number = 0; number < plx::kTerminalNumbers; ++number) {
        const int row = state.TAB_ROW_OF_NO[static_cast<std::size_t>(number)];
        if (row == plx::kNoRow) continue;
        FUZZ_CHECK(row < list.count());
        FUZZ_CHECK(plx::wholeNumber(plx::EXTRACT_FIELD(list.text(row), ",", 1)) == number);
    }

    // The colour table holds, per index, the pattern of the last line that names it.
    const std::string colourFile = (presence & 2) != 0 ? files[1] : plx::defaultColourFile();
    std::array<std::string, plx::kColourEntries> patterns;
    int listed = 0;
    for (const std::string& line : plx::splitLines(colourFile)) {
        const auto colour = plx::parseColourLine(line);
        if (!colour) continue;
        ++listed;
        if (colour->index < plx::kColourEntries) patterns[colour->index] = colour->pattern;
    }
    FUZZ_CHECK(gateway.as400().LST_COLOR_PATERN.count() == listed);
    FUZZ_CHECK(std::equal(patterns.begin(), patterns.end(), state.TAB_COLOR_PATERN.begin()));

    plx::F_AS400& host = gateway.as400();
    const plx::TextBox* const fields[] = {&host.INP_IP, &host.INP_PORT, &host.INP_PSW,
                                          &host.INP_USR};
    if ((presence & 4) != 0) {
        const auto lines = plx::splitLines(files[2]);
        for (std::size_t i = 0; i < 4 && i < lines.size(); ++i)
            FUZZ_CHECK(fields[i]->text() == lines[i]);
        const auto value = lines.size() > 4 ? plx::switchValue(lines[4]) : std::nullopt;
        if (value && *value >= 0 && *value <= 2) FUZZ_CHECK(host.SW_LOG.value() == *value);
    }
    const int logSwitch = host.SW_LOG.value();
    FUZZ_CHECK(logSwitch >= 0 && logSwitch <= 2);

    // The settings writer and the loader agree: what is written reads back the same.
    host.B_SAVE_CFG_Click();
    const auto settings = platform.files().read(platform.folder() + "/" + plx::kHostSettingsFile);
    FUZZ_CHECK(settings.has_value());
    const auto saved = plx::splitLines(*settings);
    FUZZ_CHECK(saved.size() == 5);
    for (std::size_t i = 0; i < 4; ++i) FUZZ_CHECK(saved[i] == fields[i]->text());
    FUZZ_CHECK(plx::switchValue(saved[4]) == logSwitch);

    // Commands reach only the addresses of the list, and only as dotted addresses; rows
    // past the tables (an over-long list) receive nothing.
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
    try {
        gateway.shutDown();
    } catch (const plx::fake::ProcessEnded&) {
    }
    const auto written = platform.files().read(platform.folder() + "/" + plx::kProductsFile);
    FUZZ_CHECK(written.has_value());
    FUZZ_CHECK(plx::splitLines(*written) == products);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned presence = data[0];
    const std::array<std::string, 3> files = filesOf(plx::fuzz::bytesOf(data + 1, size - 1));
    for (const std::string& file : files) {
        checkLines(file);
        for (const std::string& line : plx::splitLines(file)) {
            checkColourLine(line);
            checkSwitchLine(line);
        }
    }
    checkStartUp(presence, files);
    return 0;
}
