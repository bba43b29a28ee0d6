// EXTRACT_FIELD in both its forms over any text: reading gives a piece of the text without
// separators, replacing then reading gives the new value, the other fields stay as they
// were, and putting back the value read changes nothing. ESCAPE_CTRL_CHARS leaves only
// printable characters.
#include <algorithm>
#include <string>

#include "shared/global.h"
#include "fuzz_check.h"

namespace {

constexpr int kMaxField = 40;  // well past the four fields of a list entry

int fieldCount(const std::string& text, char separator) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), separator));
}

void checkFields(const std::string& text, char separatorCharacter, int field,
                 const std::string& value) {
    const std::string separator(1, separatorCharacter);
    const auto read = [&separator](const std::string& from, int n) {
        return plx::EXTRACT_FIELD(from, separator, n);
    };
    const std::string current = read(text, field);
    FUZZ_CHECK(current.find(separatorCharacter) == std::string::npos);
    FUZZ_CHECK(text.find(current) != std::string::npos);
    if (field < 1) FUZZ_CHECK(current == read(text, 1));

    // A field that holds the read marker itself cannot be put back: it asks for a read.
    if (field >= 1 && field <= fieldCount(text, separatorCharacter) && current != plx::kReadField)
        FUZZ_CHECK(plx::EXTRACT_FIELD(text, separator, field, current) == text);

    if (value == plx::kReadField || value.find(separatorCharacter) != std::string::npos) return;
    const std::string replaced = plx::EXTRACT_FIELD(text, separator, field, value);
    const int target = std::max(field, 1);
    FUZZ_CHECK(read(replaced, target) == value);
    const int fields = std::max(fieldCount(text, separatorCharacter), target);
    FUZZ_CHECK(fieldCount(replaced, separatorCharacter) == fields);
    for (int other = 1; other <= fields + 1; ++other) {
        if (other != target) FUZZ_CHECK(read(replaced, other) == read(text, other));
    }
}

void checkEscaped(const std::string& text) {
    const std::string escaped = plx::ESCAPE_CTRL_CHARS(text);
    FUZZ_CHECK(
        std::all_of(escaped.begin(), escaped.end(), [](char c) { return c >= 32 && c <= 126; }));
    FUZZ_CHECK(escaped.size() >= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int field = input.ConsumeIntegralInRange(-2, kMaxField);
    // Mostly the comma every caller passes; any other byte now and then.
    const char separator = input.ConsumeBool() ? ',' : input.ConsumeIntegral<char>();
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkFields(text, separator, field, value);
    // A longer separator: only the reading's shape holds (self-overlapping ones can
    // merge with the neighbouring text).
    const std::string pair(2, separator);
    FUZZ_CHECK(text.find(plx::EXTRACT_FIELD(text, pair, field)) != std::string::npos);
    plx::EXTRACT_FIELD(text, pair, field, value);
    checkEscaped(text);
    return 0;
}
