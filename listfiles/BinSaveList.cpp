#include "listfiles/BinSaveList.h"

#include <cstdint>
#include <string_view>

#include "listfiles/BinSaveItemDecoders.h"
#include "listfiles/BinSaveKeywordTables.h"
#include "listfiles/BinSaveNumber.h"
#include "listfiles/BinSaveReader.h"

namespace {

constexpr int64_t kFirstRecord = 1;  // just after the 0xFE header
constexpr int kShortestRecord = 5;   // length, line number and terminator
constexpr int kTwoByteToken = 0xFF;
constexpr int kElseToken = 0x99;
constexpr int kDataToken = 0x91;

// Decodes the body of the record that starts at `start`; `record` ends at the
// record's terminator, so no item can read past it.
std::string decode_body(std::string_view record, int64_t* pos, int64_t start, int64_t length,
                        const BinSaveKeywordTable& keywords)
{
    std::string text;
    const int64_t terminator = start + length - 1;
    while (*pos < terminator) {
        const int marker = BinSaveGetChar(record, pos);
        const auto byte = static_cast<unsigned char>(marker);
        if (marker == 0x00) {
            text += BinSaveDecodeRem(record, pos, start, length);
        } else if (marker <= 0x09) {
            text += BinSaveDecodeSpace(byte);
        } else if (marker >= 0x0B && marker <= 0x1F) {
            text += BinSaveDecodeNum(record, pos, byte);
        } else if (marker == 0x22) {
            text += BinSaveDecodeDQuote(record, pos, start, length);
        } else if (marker >= 0x20 && marker <= 0x40) {
            text += static_cast<char>(byte);
        } else if (marker >= 0x41 && marker <= 0x5A) {
            text += BinSaveDecodeLabelAndVar(record, pos, byte);
        } else if (marker == kDataToken) {
            text += BinSaveDecodeData(record, pos, start, length);
        } else if (marker == kElseToken) {
            // The machine stores ELSE behind a statement separator that its
            // listing does not show.
            if (!text.empty() && text.back() == ':') text.pop_back();
            text += BinSaveDecodeReservedWord(marker, keywords);
        } else if (marker >= 0x80 && marker <= 0xFE) {
            text += BinSaveDecodeReservedWord(marker, keywords);
        } else if (marker == kTwoByteToken) {
            text += BinSaveDecodeReservedWord(0xFF00 + BinSaveGetChar(record, pos), keywords);
        } else {
            throw -1;  // 0x0A and 0x5B..0x7F begin no item
        }
    }
    return text;
}

std::string decode_records(std::string_view bytes)
{
    BinSaveKeywordTable keywords;
    BinSaveInitRWMap1(&keywords);
    BinSaveInitRWMap2(&keywords);

    const auto size = static_cast<int64_t>(bytes.size());
    std::string text;
    int64_t pos = kFirstRecord;
    for (;;) {
        if (pos >= size) throw -1;   // no end byte after the last record
        if (pos == size - 1) break;  // the end byte
        const int64_t start = pos;
        int64_t peek = start;
        const int length = BinSaveGetInt16(bytes, &peek);
        if (length == 0 && peek == size - 1) break;  // the zero length that closes text saved from memory
        if (length < kShortestRecord || start + length > size - 1)
            throw -1;  // too short, or reaching into the end byte
        int64_t recordLength = 0;
        text += BinSaveGetLineInfo(bytes, &pos, &recordLength);
        const int64_t terminator = start + recordLength - 1;
        text += decode_body(bytes.substr(0, static_cast<size_t>(terminator)), &pos, start, recordLength, keywords);
        pos = terminator + 1;
        text += '\n';
    }
    return text;
}

}  // namespace

int BinSaveToAsciiSave(std::string& list)
{
    try {
        list = decode_records(list);
        return 0;
    } catch (...) {
        return -1;
    }
}
