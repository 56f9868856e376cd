#pragma once
// Reading the dialog's number fields and the speed-control slider's scale. The texts
// are read the way the C library's strtol and strtod read them, but without the C
// locale: the decimal point is always ".".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Leading white space and a sign allowed, reading stops at the first character that
// is not a digit; no digits give 0, and a number beyond the 32-bit range gives the
// nearest end of that range.
int32_t read_decimal_integer(std::string_view text);
// A decimal floating-point number after leading white space; an overflow gives
// infinity. A text that holds no number, or not-a-number, gives nothing.
std::optional<double> read_decimal_real(std::string_view text);

// The shortest decimal text that reads back as `value` ("11", "12.5").
std::string float_text(float value);

// The speed control's interval in microseconds: 100 to 10 000 000.
inline constexpr int64_t kMinSpeedInterval = 100;
inline constexpr int64_t kMaxSpeedInterval = 10000000;
// The slider's positions: 1 to 9 times 100, 1 to 9 times 1000, and so on up to 1 to
// 9 times 1 000 000, then 10 000 000.
inline constexpr int kMinSpeedPosition = 1;
inline constexpr int kMaxSpeedPosition = 46;

// The interval a position stands for; positions out of range are taken at the
// nearest end.
int64_t speed_interval_of_position(int position);
// The position of the interval's leading digit and power of ten (150 at 1, 290 at
// 2); intervals out of range are taken at the nearest end.
int speed_position_of_interval(int64_t interval);
