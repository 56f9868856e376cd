#include "ui/prefsdialog/PrefsNumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view skip_space(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && is_space(text[i])) ++i;
    return text.substr(i);
}

// Whether the exponent of a number that from_chars found out of range is negative:
// such a number is too small to hold and reads as 0, any other as infinity.
bool has_negative_exponent(std::string_view number)
{
    size_t e = number.find_first_of("eE");
    return e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
}

}  // namespace

int32_t read_decimal_integer(std::string_view text)
{
    text = skip_space(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Digits past what 64 bits hold still only push the value to the end of the range.
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 40);
    }
    if (negative) value = -value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::optional<double> read_decimal_real(std::string_view text)
{
    text = skip_space(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // A second sign is no number, though from_chars would take a "-".
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) return std::nullopt;
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::invalid_argument) return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = has_negative_exponent(std::string_view(text.data(), static_cast<size_t>(end - text.data())))
                    ? 0.0
                    : std::numeric_limits<double>::infinity();
    if (std::isnan(value)) return std::nullopt;
    return negative ? -value : value;
}

std::string float_text(float value)
{
    std::array<char, 32> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc()) return {};
    return std::string(buffer.data(), end);
}

int64_t speed_interval_of_position(int position)
{
    position = std::clamp(position, kMinSpeedPosition, kMaxSpeedPosition);
    int64_t power = 100;
    for (int step = (position - 1) / 9; step > 0; --step) power *= 10;
    return power * ((position - 1) % 9 + 1);
}

int speed_position_of_interval(int64_t interval)
{
    interval = std::clamp(interval, kMinSpeedInterval, kMaxSpeedInterval);
    // Counted in whole numbers: a floating-point logarithm of 1000 may fall just short of 3.
    int exponent = 0;
    int64_t power = 1;
    while (interval / power >= 10) {
        power *= 10;
        ++exponent;
    }
    return 9 * exponent - 18 + static_cast<int>(interval / power);
}
