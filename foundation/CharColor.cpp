#include "foundation/CharColor.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include "foundation/Common.h"

int char_bytes(char lead)
{
    const int ones = std::countl_one(static_cast<unsigned char>(lead));
    return ones == 0 ? 1 : ones;
}

bool is_kanji(const char* p, const std::vector<std::string>& sortedHalfKana)
{
    if (static_cast<unsigned char>(*p) < 0x80) return false;

    // The character's bytes, never past the terminating NUL.
    const int wanted = char_bytes(*p);
    int length = 1;
    while (length < wanted && p[length] != '\0') ++length;
    const std::string_view character(p, static_cast<std::size_t>(length));

    // std::string_view compares bytes as unsigned, the table's order.
    const auto found =
        std::lower_bound(sortedHalfKana.begin(), sortedHalfKana.end(), character,
                         [](const std::string& entry, std::string_view key) { return std::string_view(entry) < key; });
    return found == sortedHalfKana.end() || std::string_view(*found) != character;
}

bool is_kanji(const char* p)
{
    return is_kanji(p, gAppPrivacy.SortedKanaTable);
}

rgb_color make_rgb(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
{
    return rgb_color{red, green, blue, alpha};
}

rgb_color rgb_desc_of_pal_idx(signed char index)
{
    return rgb_color{0, 0, static_cast<uint8_t>(index), 255};
}
