#pragma once
// Settings files end in a CRC-32 of what comes before it. A fuzz input with its last
// four bytes replaced by the right checksum also reaches the checks behind it.

#include <cstdint>
#include <string>
#include <string_view>

inline std::string sealed(std::string_view bytes)
{
    std::string out(bytes.substr(0, bytes.size() - 4));
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : out) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    return out;
}
