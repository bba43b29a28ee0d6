// plyxen400-replay: a day's file or a trace replayed through the gateway's core.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "host_replay.h"
#include "shared/text_lines.h"

namespace {

constexpr const char* kUsage =
    "Usage: plyxen400-replay [--products FILE] [--colours FILE] [FILE]\n"
    "Replays the host stream of a gateway's day's file (its RX-AS400 lines) or of a trace\n"
    "through the gateway's core, and prints per read its telnet answers, per frame what each\n"
    "terminal is sent (value, colour, pattern, datagram) and every Warning: a trace, which\n"
    "a test can keep. The terminal list and the colour file are the ones given, else a\n"
    "trace's own, else Products.cfg and Color_Patern.txt in the current folder (the default\n"
    "colours when there is none). FILE: the day's file or trace; none or -, standard input.\n";

std::optional<std::string> contentOf(const std::string& path) {
    if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

int cannotRead(const std::string& path) {
    std::fprintf(stderr, "plyxen400-replay: cannot read %s\n", path.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> products, colours;
    std::string recorded = "-";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if ((argument == "--products" || argument == "--colours") && i + 1 < argc) {
            (argument == "--products" ? products : colours) = argv[++i];
        } else if (argument == "--help" || argument.starts_with("--")) {
            std::fputs(kUsage, argument == "--help" ? stdout : stderr);
            return argument == "--help" ? 0 : 2;
        } else {
            recorded = argument;
        }
    }
    const auto text = contentOf(recorded);
    if (!text) return cannotRead(recorded);
    plx::replay::Recording recording = plx::replay::readRecording(*text);
    // The given file, else the trace's own lines, else the folder's file where there is one.
    if (products || recording.products.empty()) {
        const auto bytes = contentOf(products.value_or("Products.cfg"));
        if (!bytes && products) return cannotRead(*products);
        if (bytes) recording.products = plx::splitLines(*bytes);
    }
    if (colours || !recording.colours) {
        const auto bytes = contentOf(colours.value_or("Color_Patern.txt"));
        if (!bytes && colours) return cannotRead(*colours);
        if (bytes) recording.colours = plx::splitLines(*bytes);
    }
    std::fputs(plx::replay::replay(recording).c_str(), stdout);
    return 0;
}
