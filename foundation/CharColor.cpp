#include "foundation/CharColor.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include "foundation/HeaderConstants.h"

int char_bytes(char lead)
{
    const int ones = std::countl_one(static_cast<unsigned char>(lead));
    return ones == 0 ? 1 : ones;
}

bool is_kanji(const char* p, const std::vector<std::string>& sortedHalfKana)
{
    if (static_cast<unsigned char>(*p) < 0x80)
        return false;

    // The character's bytes, never past the terminating NUL.
    const int wanted = char_bytes(*p);
    int length = 1;
    while (length < wanted && p[length] != '\0')
        ++length;
    const std::string_view character(p, static_cast<std::size_t>(length));

    // std::string_view compares bytes as unsigned, the table's order.
    const auto found = std::lower_bound(
        sortedHalfKana.begin(), sortedHalfKana.end(), character,
        [](const std::string& entry, std::string_view key) { return std::string_view(entry) < key; });
    return found == sortedHalfKana.end() || std::string_view(*found) != character;
}

// The half-width katakana of HALF_KANA_STR, one 3-byte text each, in byte order.
// TODO: read the sorted table of gAppPrivacy once the process-wide state exists.
static const std::vector<std::string>& sorted_half_kana()
{
    static const std::vector<std::string> table = [] {
        std::vector<std::string> kana;
        kana.reserve(HALF_KANA_STR.size() / 3);
        for (std::size_t i = 0; i + 3 <= HALF_KANA_STR.size(); i += 3)
            kana.push_back(HALF_KANA_STR.substr(i, 3));
        std::sort(kana.begin(), kana.end());
        return kana;
    }();
    return table;
}

bool is_kanji(const char* p)
{
    return is_kanji(p, sorted_half_kana());
}

rgb_color make_rgb(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
{
    return rgb_color{red, green, blue, alpha};
}

rgb_color rgb_desc_of_pal_idx(signed char index)
{
    return rgb_color{0, 0, static_cast<uint8_t>(index), 255};
}
