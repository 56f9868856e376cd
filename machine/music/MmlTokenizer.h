#pragma once
// Splits a music string into tokens. The text is upper-cased once when it is set; a
// read past its end yields the end token again and again, so commands that skip
// tokens can never run off the text.

#include <cstdint>
#include <string>

#include "machine/music/MmlToken.h"

class TMmlTokenizer {
public:
    // Longest text and longest number accepted; longer ones are bad MML.
    static constexpr size_t kMaxTextLength = 32767;
    static constexpr size_t kMaxDigits = 499;

    // Copies `text` up to its terminating zero and upper-cases its ASCII letters.
    // Throws kBadMmlKey when it is longer than kMaxTextLength.
    void SetText(const char* text);

    TMmlToken Token();

    // The value of a number token as the C library's strtol gives it for a 32-bit long:
    // a value too large becomes 2147483647.
    static int32_t NumberValue(const TMmlToken& token);

private:
    TMmlToken TokenAlpha();
    TMmlToken TokenNum();
    TMmlToken TokenMisc();

    char Peek() const { return mPos < mText.size() ? mText[mPos] : '\0'; }

    std::string mText;
    size_t mPos = 0;
};
