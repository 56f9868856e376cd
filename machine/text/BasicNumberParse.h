#pragma once
// The decimal numbers that VAL, INPUT and READ take from a text, read without the
// C library's strtod (which would also take hexadecimal forms, "inf" and "nan") and
// without depending on the locale:
//   [sign] digits [. [digits]] [E or D [sign] digits]   or   [sign] . digits [...]
// An exponent letter not followed by digits is not part of the number.

#include <cstddef>
#include <string_view>

enum class TBasicNumberStatus {
    Ok,        // a number was read
    NoNumber,  // the text does not begin with a number; the value is 0
    Overflow,  // the number lies beyond the range of a double; the value is its sign's end
};

struct TBasicNumber {
    double value = 0;
    std::size_t length = 0;  // the bytes the number takes, 0 when there is none
    TBasicNumberStatus status = TBasicNumberStatus::NoNumber;
};

// Reads the number at the very start of text (no blanks skipped). A number too small
// for a double gives 0 with the status Ok.
TBasicNumber parse_basic_number(std::string_view text);
