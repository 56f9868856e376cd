#include "machine/vm/PrintText.h"

#include <charconv>

std::string GetNumberText(double value)
{
    // Negative zero prints as 0: a sign on a zero would only confuse.
    if (value == 0) value = 0;
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, result.ptr);
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
