#include "Utf8Check.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t highBits = 0x8080808080808080ULL;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed sequence that starts at `at`, or 0 when the
// bytes there do not form one (RFC 3629, table 3-7 of the Unicode standard).
int sequenceLength(const unsigned char *at, const unsigned char *end)
{
    const unsigned char lead = at[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondLow = 0xA0; // overlong below U+0800
        else if (lead == 0xED)
            secondHigh = 0x9F; // surrogates U+D800..U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondLow = 0x90; // overlong below U+10000
        else if (lead == 0xF4)
            secondHigh = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (end - at < length)
        return 0;
    if (at[1] < secondLow || at[1] > secondHigh)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (!isContinuation(at[k]))
            return 0;
    }
    return length;
}

} // namespace

bool isValidUtf8(const char *data, int size)
{
    const auto *at = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *const end = at + (size > 0 ? size : 0);
    while (at < end) {
        // Runs of plain ASCII, the usual content, are passed eight at a time.
        if (end - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, at, sizeof word);
            if ((word & highBits) == 0) {
                at += 8;
                continue;
            }
        }
        const int length = sequenceLength(at, end);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}
