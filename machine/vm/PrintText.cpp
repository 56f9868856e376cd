#include "machine/vm/PrintText.h"

#include <charconv>
#include <cstdint>

std::size_t NumberChars(char (&out)[64], double value)
{
    // Negative zero prints as 0: a sign on a zero would only confuse.
    if (value == 0) value = 0;
    // A whole number of up to six digits is its digits in the general form too; the
    // integer conversion is many times faster than the floating-point one.
    if (value > -1e6 && value < 1e6) {
        const auto whole = static_cast<int32_t>(value);
        if (whole == value) return static_cast<std::size_t>(std::to_chars(out, out + sizeof out, whole).ptr - out);
    }
    const auto result = std::to_chars(out, out + sizeof out, value, std::chars_format::general, 6);
    return static_cast<std::size_t>(result.ptr - out);
}

std::string GetNumberText(double value)
{
    char buf[64];
    return std::string(buf, NumberChars(buf, value));
}

std::string GetPrintStrFromNum(double value)
{
    std::string text = GetNumberText(value);
    if (text.empty() || text[0] != '-') text.insert(text.begin(), ' ');
    text += ' ';
    return text;
}

std::string GetPrintStr(const TStackData& value, int spaces)
{
    switch (value.type) {
    case sdLong: return GetPrintStrFromNum(value.value.l);
    case sdSingle: return GetPrintStrFromNum(value.value.f);
    case sdDouble: return GetPrintStrFromNum(value.value.d);
    case sdString: return value.CString();
    case sdMarker: return std::string(static_cast<size_t>(spaces > 0 ? spaces : 0), ' ');
    default: return std::string();
    }
}

std::string GetWriteStr(const TStackData& value)
{
    switch (value.type) {
    case sdLong: return std::to_string(value.value.l);
    case sdSingle: return GetNumberText(value.value.f);
    case sdDouble: return GetNumberText(value.value.d);
    case sdString: return std::string("\"") + value.CString() + "\"";
    case sdMarker: return ",";
    default: return std::string();
    }
}
