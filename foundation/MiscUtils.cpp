#include "foundation/MiscUtils.h"

#include "foundation/CharColor.h"

int detect_cr_type(const char* text)
{
    long long crs = 0;
    long long lfs = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\r')
            ++crs;
        else if (*p == '\n')
            ++lfs;
    }
    if (crs == lfs && crs != 0) return 1;
    if (crs > lfs) return 2;
    return 0;
}

int detect_char_set(const char* text)
{
    constexpr unsigned char kEsc = 0x1B;
    long long escapes = 0;
    long long faults = 0;

    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            if (lead == kEsc) ++escapes;
            ++p;
            continue;
        }
        if (lead < 0xC0) {  // a continuation byte where a character should start
            ++faults;
            ++p;
            continue;
        }
        // Only the shape counts: each of the next k - 1 bytes must be a continuation
        // byte. The bytes of the sequence are not looked at again, not even an ESC.
        const int length = char_bytes(static_cast<char>(lead));
        int taken = 1;
        for (; taken < length; ++taken) {
            const unsigned char next = p[taken];
            if (next == 0) {  // cut short by the end of the text
                ++faults;
                break;
            }
            if (next < 0x80 || next > 0xBF) ++faults;
        }
        p += taken;
    }

    if (escapes > 0) return 13;
    if (faults > 0) return 11;
    return 0;
}
