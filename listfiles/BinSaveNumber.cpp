#include "listfiles/BinSaveNumber.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

#include "listfiles/BinSaveReader.h"

namespace {

constexpr unsigned char kOctal = 0x0B;
constexpr unsigned char kHex = 0x0C;
constexpr unsigned char kSigned16 = 0x0E;
constexpr unsigned char kUnsigned8 = 0x0F;
constexpr unsigned char kFirstDigit = 0x10;
constexpr unsigned char kLastDigit = 0x19;
constexpr unsigned char kSigned16Too = 0x1C;
constexpr unsigned char kSingle = 0x1D;
constexpr unsigned char kDouble = 0x1F;

std::string integer_text(int64_t value, int base)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int16_t as_signed16(int value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}

// Microsoft Binary Format single: three mantissa bytes, lowest first, the top
// bit of the third the sign; then the exponent byte, 0 meaning zero. The value
// is 0.1mmm... in binary times 2^(E - 128), exact in a double.
double read_mbf_single(std::string_view bytes, int64_t* pos)
{
    std::array<int, 4> b{};
    for (int& byte : b) byte = BinSaveGetChar(bytes, pos);
    const int exponent = b[3];
    if (exponent == 0) return 0.0;
    const uint32_t mantissa =
        static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2] & 0x7F) << 16;
    const double magnitude = std::ldexp(static_cast<double>((1u << 23) + mantissa), exponent - 152);
    return (b[2] & 0x80) ? -magnitude : magnitude;
}

// Microsoft Binary Format double: seven mantissa bytes, the same sign and
// exponent rules. Its 55-bit mantissa loses its three lowest bits (dropped, not
// rounded) to fit the 52 fraction bits of a double.
double read_mbf_double(std::string_view bytes, int64_t* pos)
{
    std::array<int, 8> b{};
    for (int& byte : b) byte = BinSaveGetChar(bytes, pos);
    const int exponent = b[7];
    if (exponent == 0) return 0.0;
    uint64_t mantissa = static_cast<uint64_t>(b[6] & 0x7F);
    for (int i = 5; i >= 0; --i) mantissa = mantissa << 8 | static_cast<uint64_t>(b[i]);
    const uint64_t significand = (uint64_t{1} << 52) + (mantissa >> 3);
    const double magnitude = std::ldexp(static_cast<double>(significand), exponent - 181);
    return (b[6] & 0x80) ? -magnitude : magnitude;
}

// Six decimals of the exact value, then the suffix; trailing zeros of the
// fraction and a bare point go, and "0." at the front becomes ".".
std::string floating_text(double value, const char* suffix)
{
    // 2^127 has 39 integer digits; with sign, point and six decimals 47 fit.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text.size() >= 2 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return text + suffix;
}

bool whole_in_int16_range(double value)
{
    return value == std::trunc(value) && value >= -32768.0 && value <= 32767.0;
}

}  // namespace

std::string BinSaveDecodeNum(std::string_view bytes, int64_t* pos, unsigned char marker)
{
    switch (marker) {
    case kOctal: return "&O" + integer_text(BinSaveGetInt16(bytes, pos), 8);
    case kHex: return "&H" + integer_text(BinSaveGetInt16(bytes, pos), 16);
    case kSigned16:
    case kSigned16Too: return integer_text(as_signed16(BinSaveGetInt16(bytes, pos)), 10);
    case kUnsigned8: return integer_text(BinSaveGetChar(bytes, pos), 10);
    case kSingle: {
        const double value = read_mbf_single(bytes, pos);
        return floating_text(value, whole_in_int16_range(value) ? "!" : "");
    }
    case kDouble: return floating_text(read_mbf_double(bytes, pos), "#");
    default:
        if (marker >= kFirstDigit && marker <= kLastDigit)
            return std::string(1, static_cast<char>('0' + (marker - kFirstDigit)));
        throw -1;
    }
}
