// The web page over any template: every template line gives one CR LF line, text without
// placeholders is copied unchanged, and replaced values are never searched again (values
// that look like placeholders cannot make the page grow beyond one value per "{[").
#include <algorithm>
#include <string>

#include "console/config_files.h"
#include "shared/shared_state.h"
#include "fuzz_check.h"
#include "tools/web_page.h"

namespace {

// Values that are placeholders themselves: a second search would replace them again.
const std::string kTricky = "{[SO1]}{[AF0001]}";

const plx::SharedState& terminalTables() {
    static const plx::SharedState tables = [] {
        plx::SharedState state;
        state.TAB_ROW_OF_NO.fill(plx::kNoRow);
        state.TAB_ROW_OF_NO[1] = 0;
        state.TAB_ROW_OF_NO[12] = 1;
        state.TAB_ROW_OF_NO[9999] = 1000;
        for (const int row : {0, 1, 1000}) {
            state.TAB_AFF_VALUE[row] = kTricky;
            state.TAB_IP[row] = "127.0.10." + std::to_string(row % 250 + 1);
            state.TAB_DESCRIPTION[row] = "Line {[DE0012]}";
            state.TAB_TYPE[row] = "T";
        }
        return state;
    }();
    return tables;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string templateText = plx::fuzz::bytesOf(data, size);
    const plx::WebPageValues values{terminalTables(), kTricky, kTricky, "23",       kTricky,
                                    kTricky,          kTricky, kTricky, "14:05:09", "05-12-2026"};
    const std::string page = plx::fillWebPage(templateText, values);

    const auto lines = plx::splitLines(templateText);
    FUZZ_CHECK(occurrences(page, "\r\n") == lines.size());
    FUZZ_CHECK(std::count(page.begin(), page.end(), '\r') ==
               std::count(page.begin(), page.end(), '\n'));
    const std::size_t longestValue =
        std::max(kTricky.size(), std::string("Line {[DE0012]}").size());
    FUZZ_CHECK(page.size() <= templateText.size() + 2 * lines.size() +
                                  occurrences(templateText, "{[") * longestValue);
    if (templateText.find("{[") == std::string::npos) {
        std::string copied;
        for (const std::string& line : lines) copied += line + "\r\n";
        FUZZ_CHECK(page == copied);
    }

    const std::string name = plx::webPageTemplateName(templateText);
    const std::string output = plx::webPageOutputName(name);
    FUZZ_CHECK(output.size() ==
               name.size() + static_cast<std::size_t>(std::count(name.begin(), name.end(), '.')));
    return 0;
}
