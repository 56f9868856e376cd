#pragma once
// The number at the start of a text, read the way the C library's strtol (base 10)
// and strtod read it (white space first skipped), whatever the locale: INPUT, READ
// and RANDOMIZE take their numbers this way. The integer reader is shared with the
// compiler and lives in foundation.

#include <cstdint>
#include <string>

#include "foundation/DecimalText.h"  // leading_decimal_integer

// White space skipped, then the decimal number that parse_basic_number reads (an
// optional sign, digits, a point, an exponent with E or D); no number gives 0, one
// too large the largest double of its sign, one too small 0.
double leading_decimal_number(const std::string& text);

// The same number rounded to single precision; one beyond the single range gives the
// largest single of its sign, as a number beyond the double range gives the largest
// double, instead of an undefined conversion.
float leading_single_number(const std::string& text);
