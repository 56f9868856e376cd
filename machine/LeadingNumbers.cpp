// Reading the number at the start of a text, as the C library reads it, but without
// depending on the locale.

#include "machine/LeadingNumbers.h"

#include <limits>
#include <string_view>

#include "machine/BasicNumberParse.h"

namespace {

bool is_c_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

int32_t saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

}  // namespace

int32_t leading_decimal_integer(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        if (value <= int64_t{1} << 32) value = value * 10 + (text[i] - '0');
    }
    return saturate(negative ? -value : value);
}

double leading_decimal_number(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    return parse_basic_number(std::string_view(text).substr(i)).value;
}

float leading_single_number(const std::string& text) {
    constexpr double largest = std::numeric_limits<float>::max();
    const double value = leading_decimal_number(text);
    if (value > largest) return std::numeric_limits<float>::max();
    if (value < -largest) return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}
