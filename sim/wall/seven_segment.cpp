#include "seven_segment.h"

namespace plx::wall {
namespace {

constexpr std::uint8_t kDigits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr std::uint8_t kNotShowable = kSegmentA | kSegmentD | kSegmentG;

// Letters as signs write them; both cases of a letter share a shape unless the lower case
// one reads better (b, c, h, o, u).
std::uint8_t letter(char c) {
    switch (c) {
        case 'A':
        case 'a':
            return 0x77;
        case 'B':
        case 'b':
            return 0x7C;
        case 'C':
            return 0x39;
        case 'c':
            return 0x58;
        case 'D':
        case 'd':
            return 0x5E;
        case 'E':
        case 'e':
            return 0x79;
        case 'F':
        case 'f':
            return 0x71;
        case 'G':
        case 'g':
            return 0x3D;
        case 'H':
            return 0x76;
        case 'h':
            return 0x74;
        case 'I':
        case 'i':
            return 0x30;
        case 'J':
        case 'j':
            return 0x1E;
        case 'L':
        case 'l':
            return 0x38;
        case 'N':
        case 'n':
            return 0x54;
        case 'O':
            return 0x3F;
        case 'o':
            return 0x5C;
        case 'P':
        case 'p':
            return 0x73;
        case 'Q':
        case 'q':
            return 0x67;
        case 'R':
        case 'r':
            return 0x50;
        case 'S':
        case 's':
            return 0x6D;
        case 'T':
        case 't':
            return 0x78;
        case 'U':
            return 0x3E;
        case 'u':
            return 0x1C;
        case 'Y':
        case 'y':
            return 0x6E;
        case 'Z':
        case 'z':
            return 0x5B;
        default:
            return kNotShowable;
    }
}

}  // namespace

std::uint8_t segmentsOf(char c) {
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    switch (c) {
        case ' ':
            return 0;
        case '-':
            return kSegmentG;
        case '_':
            return kSegmentD;
        case '=':
            return kSegmentD | kSegmentG;
        default:
            return letter(c);
    }
}

}  // namespace plx::wall
