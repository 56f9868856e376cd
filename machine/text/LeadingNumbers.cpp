// Reading the floating-point number at the start of a text, as the C library reads
// it, but without depending on the locale.

#include "machine/text/LeadingNumbers.h"

#include <limits>
#include <string_view>

#include "machine/text/BasicNumberParse.h"

namespace {

bool is_c_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

double leading_decimal_number(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    return parse_basic_number(std::string_view(text).substr(i)).value;
}

float leading_single_number(const std::string& text)
{
    constexpr double largest = std::numeric_limits<float>::max();
    const double value = leading_decimal_number(text);
    if (value > largest) return std::numeric_limits<float>::max();
    if (value < -largest) return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}
