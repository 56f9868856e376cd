#include "debugger/VarText.h"

#include <charconv>

#include "language/VarInfo.h"

std::string var_number_text(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    if (result.ec != std::errc()) return {};
    return std::string(buffer, result.ptr);
}

std::string var_cut_text(std::string_view text)
{
    if (text.size() <= VAR_TEXT_MAX) return std::string(text);
    size_t cut = VAR_TEXT_MAX;
    // Back off over continuation bytes to the start of the character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut));
}

std::string var_value_text(const TVarInfo& v, int32_t element)
{
    if (element < 0 || element >= v.ElemCount) return {};
    switch (v.VarType) {
    case tkInt:
        if (const int32_t* values = v.IntValues()) return std::to_string(values[element]);
        return {};
    case tkSingle:
        if (const float* values = v.SingleValues()) return var_number_text(static_cast<double>(values[element]));
        return {};
    case tkDouble:
        if (const double* values = v.DoubleValues()) return var_number_text(values[element]);
        return {};
    case tkString:
        if (const std::string* values = v.StringValues()) return var_cut_text(values[element]);
        return {};
    default: return {};
    }
}

std::string var_default_text(TTokenKind type)
{
    switch (type) {
    case tkInt:
    case tkSingle:
    case tkDouble: return "0";
    default: return {};
    }
}

std::vector<int32_t> var_dim_sizes(const TVarInfo& v)
{
    const int32_t n = v.Dims[0];
    if (n <= 0 || n > TVarInfo::MAX_DIMS) return {};
    return std::vector<int32_t>(v.Dims + 1, v.Dims + 1 + n);
}

int64_t var_element_count(std::span<const int32_t> sizes)
{
    if (sizes.empty()) return 0;
    int64_t count = 1;
    for (const int32_t size : sizes) {
        if (size <= 0) return 0;
        count *= size;
        if (count > INT32_MAX) return 0;
    }
    return count;
}

std::string var_element_label(std::string_view name, std::span<const int32_t> sizes, int32_t element)
{
    std::string label(name);
    if (element <= 0 || sizes.empty()) return label;
    std::vector<int32_t> subscripts;
    int64_t rest = element - 1;
    for (const int32_t size : sizes) {
        if (size <= 0) return label;
        subscripts.push_back(static_cast<int32_t>(rest % size));
        rest /= size;
    }
    label += '(';
    for (auto it = subscripts.rbegin(); it != subscripts.rend(); ++it) {
        if (it != subscripts.rbegin()) label += ',';
        label += std::to_string(*it);
    }
    label += ')';
    return label;
}
