#pragma once
// The decimal integer at the start of a text, read the way the C library's strtol
// reads base 10, whatever the locale: line numbers, integer literals and the
// integer items of INPUT and READ all take their numbers this way.

#include <cstdint>
#include <string_view>

// White space skipped, an optional sign, the digits up to the first other character;
// no digits give 0, and a number beyond the 32-bit range gives its nearest end.
int32_t leading_decimal_integer(std::string_view text);
