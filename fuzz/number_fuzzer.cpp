// The lenient number reading over any text: never undefined behaviour (the sanitizers
// watch every conversion), never NaN, and the terminal number it yields is in range and
// the nearest integer to the value read, or nothing.
#include <cmath>
#include <string>

#include "console/config_files.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"
#include "display/host_number.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const long long anyNumber = input.ConsumeIntegral<long long>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const double value = plx::readLenientNumber(text);
    FUZZ_CHECK(!std::isnan(value));

    const auto terminal = plx::hostTerminalNumber(text);
    if (terminal) {
        FUZZ_CHECK(*terminal >= 0 && *terminal < plx::kTerminalNumbers);
        FUZZ_CHECK(std::fabs(value - *terminal) <= 0.5);
    } else {
        // Nothing only when the nearest integer lies outside the terminal numbers.
        FUZZ_CHECK(!(value >= 0.0 && value <= plx::kTerminalNumbers - 1));
    }

    if (const auto whole = plx::wholeNumber(text)) FUZZ_CHECK(*whole == value);

    if (const auto logSwitch = plx::switchValue(text)) {
        FUZZ_CHECK(*logSwitch >= -32768 && *logSwitch <= 32767);
        FUZZ_CHECK(std::fabs(value - *logSwitch) <= 0.5);
    }

    const std::string digits = plx::fourDigits(anyNumber);
    FUZZ_CHECK(digits.size() >= 4);
    FUZZ_CHECK(plx::wholeNumber(digits) == std::nullopt || *plx::wholeNumber(digits) == anyNumber);
    return 0;
}
