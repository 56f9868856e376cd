#include "machine/text/BasicNumberParse.h"

#include <charconv>
#include <limits>
#include <string>

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skip_digits(std::string_view text, std::size_t i)
{
    while (i < text.size() && is_digit(text[i])) ++i;
    return i;
}

}  // namespace

TBasicNumber parse_basic_number(std::string_view text)
{
    TBasicNumber result;
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantissaStart = i;
    i = skip_digits(text, i);
    std::size_t digits = i - mantissaStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = i + 1;
        const std::size_t end = skip_digits(text, fraction);
        digits += end - fraction;
        i = end;
    }
    if (digits == 0) return result;
    std::string number(text.substr(mantissaStart, i - mantissaStart));
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const std::size_t end = skip_digits(text, e);
        if (end > e) {
            number += 'e';
            number.append(text.substr(i + 1, end - (i + 1)));
            i = end;
        }
    }
    result.length = i;
    result.status = TBasicNumberStatus::Ok;
    double value = 0;
    const auto [ptr, error] =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    (void)ptr;
    if (error == std::errc::result_out_of_range) {
        // Too small a magnitude rounds to 0; too large is reported.
        const std::size_t e = number.find('e');
        const bool tiny = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
        if (tiny) {
            value = 0;
        } else {
            value = std::numeric_limits<double>::max();
            result.status = TBasicNumberStatus::Overflow;
        }
    } else if (error != std::errc()) {
        value = 0;
    }
    result.value = negative ? -value : value;
    return result;
}
