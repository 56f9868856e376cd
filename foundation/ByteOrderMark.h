#pragma once
// The UTF-8 byte-order mark that may open a program list (editors of other systems
// write one). The list keeps it, so that a save writes the file back as it came, but
// it belongs to no line: whatever reads the number at the head of the first line
// reads from the byte after it.

#include <cstddef>
#include <string_view>

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The bytes of the mark at the very start of `text`: its size, or 0 without one.
constexpr std::size_t leading_byte_order_mark(std::string_view text)
{
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

// `text` from the byte after the mark at its start.
constexpr std::string_view after_byte_order_mark(std::string_view text)
{
    return text.substr(leading_byte_order_mark(text));
}
