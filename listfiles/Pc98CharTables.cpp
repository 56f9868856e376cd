#include "listfiles/Pc98CharTables.h"

#include "listfiles/KanjiShift.h"

namespace {

struct OneByteRow {
    unsigned char first;
    unsigned char last;
    char replacement;
};

// The PC-98's one-byte graphic characters and the ASCII characters that stand in for them.
// clang-format off
constexpr OneByteRow kOneByteRows[] = {
    {0x80, 0x81, '_'},
    {0x82, 0x84, '-'},
    {0x85, 0x87, '#'},
    {0x88, 0x89, '['},
    {0x8A, 0x8C, '|'},
    {0x8D, 0x8E, '#'},
    {0x8F, 0x8F, '+'},
    {0x90, 0x90, '^'},
    {0x91, 0x91, 'T'},
    {0x92, 0x92, '<'},
    {0x93, 0x93, '>'},
    {0x94, 0x94, '`'},
    {0x95, 0x95, '-'},
    {0x96, 0x96, '|'},
    {0x97, 0x97, ']'},
    {0x98, 0x98, '['},
    {0x99, 0x99, ']'},
    {0x9A, 0x9A, '['},
    {0x9B, 0x9B, ']'},
    {0x9C, 0x9C, '('},
    {0x9D, 0x9D, ')'},
    {0x9E, 0x9E, '('},
    {0x9F, 0x9F, ')'},
    {0xE0, 0xE0, '='},
    {0xE1, 0xE1, '>'},
    {0xE2, 0xE2, '='},
    {0xE3, 0xE3, '<'},
    {0xE4, 0xE4, '/'},
    {0xE5, 0xE6, '\\'},
    {0xE7, 0xE7, '/'},
    {0xE8, 0xE8, 'n'},
    {0xE9, 0xE9, 'v'},
    {0xEA, 0xEA, 'o'},
    {0xEB, 0xEB, 'm'},
    {0xEC, 0xEC, '*'},
    {0xED, 0xED, 'O'},
    {0xEE, 0xEE, '/'},
    {0xEF, 0xEF, '\\'},
    {0xF0, 0xF0, 'X'},
    {0xF1, 0xF1, '\\'},
    {0xF2, 0xF2, 'Y'},
    {0xF3, 0xF3, 'M'},
    {0xF4, 0xF4, 'D'},
    {0xF5, 0xF5, 'H'},
    {0xF6, 0xF6, 'M'},
    {0xF7, 0xF7, 'S'},
};
// clang-format on

// How a two-byte code's replacement is made from the code.
enum class TwoByteRule {
    OneByteOfCode,   // KO, the code's second byte, KI
    OneByteText,     // KO, the row's text, KI
    TwoByteDigit,    // the JIS X 0208 digit 0x23 0x30+n, n = code - base
    OneByteNumber,   // KO, the decimal number 10 + n, n = code - base, KI
    TwoByteCapital,  // the JIS X 0208 capital 0x23, second byte - 0x80
};

struct TwoByteRow {
    uint16_t first;
    uint16_t last;
    TwoByteRule rule;
    uint16_t base;
    const char* text;
};

// NEC's row 13 holds the circled numbers 1..20 (0x2D21..0x2D34) and the Roman
// numerals I..X (0x2D35..0x2D3E); first bytes of zero are one-byte characters
// that were stored inside a kanji shift.
constexpr TwoByteRow kTwoByteRows[] = {
    {0x0020, 0x007F, TwoByteRule::OneByteOfCode, 0, ""},      {0x00A0, 0x00DF, TwoByteRule::OneByteOfCode, 0, ""},
    {0x2B21, 0x2B21, TwoByteRule::OneByteText, 0, " "},       {0x2D21, 0x2D29, TwoByteRule::TwoByteDigit, 0x2D20, ""},
    {0x2D2A, 0x2D33, TwoByteRule::OneByteNumber, 0x2D2A, ""}, {0x2D34, 0x2D34, TwoByteRule::OneByteText, 0, "20"},
    {0x2D35, 0x2D3D, TwoByteRule::TwoByteDigit, 0x2D34, ""},  {0x2D3E, 0x2D3E, TwoByteRule::OneByteText, 0, "10"},
    {0x23C1, 0x23DA, TwoByteRule::TwoByteCapital, 0, ""},
};

std::string framed_one_byte_text(const std::string& text)
{
    return std::string(ZARO_KO_CODE) + text + std::string(ZARO_KI_CODE);
}

std::string two_byte_replacement(const TwoByteRow& row, uint16_t code)
{
    const int n = code - row.base;
    switch (row.rule) {
    case TwoByteRule::OneByteOfCode: return framed_one_byte_text(std::string(1, static_cast<char>(code & 0xFF)));
    case TwoByteRule::OneByteText: return framed_one_byte_text(row.text);
    case TwoByteRule::TwoByteDigit: return {char{0x23}, static_cast<char>(0x30 + n)};
    case TwoByteRule::OneByteNumber: return framed_one_byte_text(std::to_string(10 + n));
    case TwoByteRule::TwoByteCapital: return {char{0x23}, static_cast<char>((code & 0xFF) - 0x80)};
    }
    return {};
}

}  // namespace

void ConvertJisToJisInit98CharTable1(Pc98OneByteTable* table, bool convertPc98)
{
    for (size_t byte = 0; byte < table->size(); ++byte) (*table)[byte] = std::string(1, static_cast<char>(byte));
    if (!convertPc98) return;
    for (const OneByteRow& row : kOneByteRows)
        for (int byte = row.first; byte <= row.last; ++byte)
            (*table)[static_cast<size_t>(byte)] = std::string(1, row.replacement);
}

void ConvertJisToJisInit98CharTable2(Pc98TwoByteTable* table, bool convertPc98)
{
    if (!convertPc98) return;
    for (const TwoByteRow& row : kTwoByteRows)
        for (int code = row.first; code <= row.last; ++code)
            (*table)[static_cast<uint16_t>(code)] = two_byte_replacement(row, static_cast<uint16_t>(code));
}
