#pragma once
// Builds byte strings for the list-format tests from byte values.

#include <initializer_list>
#include <string>

inline std::string bytes_of(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values) bytes += static_cast<char>(value);
    return bytes;
}
