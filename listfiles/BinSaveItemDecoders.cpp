#include "listfiles/BinSaveItemDecoders.h"

#include "listfiles/BinSaveReader.h"

namespace {

constexpr int kQuote = 0x22;
constexpr int kColon = 0x3A;
constexpr int kRemarkMarker = 0x00;

int64_t line_end(int64_t lineStart, int64_t lineLength)
{
    return lineStart + lineLength - 1;
}

}  // namespace

std::string BinSaveGetLineInfo(std::string_view bytes, int64_t* pos, int64_t* lineLength)
{
    int64_t at = *pos;
    const int length = BinSaveGetInt16(bytes, &at);
    const int number = BinSaveGetInt16(bytes, &at);
    *pos = at;
    *lineLength = length;
    return std::to_string(number);
}

std::string BinSaveDecodeReservedWord(int32_t token, const BinSaveKeywordTable& table)
{
    const auto found = table.find(token);
    if (found == table.end()) throw -1;
    return found->second;
}

std::string BinSaveDecodeDQuote(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength)
{
    const int64_t end = line_end(lineStart, lineLength);
    std::string text(1, static_cast<char>(kQuote));
    bool kanjiMode = false;
    while (*pos < end) {
        const int byte = BinSaveGetChar(bytes, pos);
        text += static_cast<char>(byte);
        BinSaveJpnCheck(bytes, *pos, &kanjiMode);
        if (byte == kQuote && !kanjiMode) break;
    }
    return text;
}

std::string BinSaveDecodeLabelAndVar(std::string_view bytes, int64_t* pos, unsigned char firstLetter)
{
    std::string text(1, static_cast<char>(firstLetter));
    const int count = BinSaveGetChar(bytes, pos);
    for (int i = 0; i < count; ++i) text += static_cast<char>(BinSaveGetChar(bytes, pos));
    return text;
}

std::string BinSaveDecodeData(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength)
{
    const int64_t end = line_end(lineStart, lineLength);
    std::string text = "DATA";
    bool kanjiMode = false;
    bool quoted = false;
    while (*pos < end) {
        const int byte = BinSaveGetChar(bytes, pos);
        if (byte == kRemarkMarker && !kanjiMode && !quoted) {
            // Leave the 0x00 for the caller: the rest of the line is a remark.
            --*pos;
            break;
        }
        text += static_cast<char>(byte);
        BinSaveJpnCheck(bytes, *pos, &kanjiMode);
        if (byte == kQuote && !kanjiMode) quoted = !quoted;
        if (byte == kColon && !kanjiMode && !quoted) break;
    }
    return text;
}

std::string BinSaveDecodeRem(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength)
{
    const int64_t end = line_end(lineStart, lineLength);
    std::string text;
    while (*pos < end) text += static_cast<char>(BinSaveGetChar(bytes, pos));
    return text;
}

std::string BinSaveDecodeSpace(unsigned char count)
{
    return std::string(count, ' ');
}
