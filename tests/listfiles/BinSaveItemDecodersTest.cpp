#include <gtest/gtest.h>

#include <string>

#include "listfiles/BinSaveItemDecoders.h"
#include "listfiles/BinSaveReader.h"
#include "tests/listfiles/ByteString.h"

namespace {

// A list of one record whose body is `marker` followed by `rest`; the read
// position stands just after the marker, as the driver leaves it.
struct OneLine {
    explicit OneLine(int marker, const std::string& rest)
    {
        const int length = static_cast<int>(5 + 1 + rest.size());
        bytes = bytes_of({0xFE, length & 0xFF, length >> 8, 10, 0, marker}) + rest + bytes_of({0x00, 0x1A});
        lineLength = length;
    }

    int64_t end() const { return lineStart + lineLength - 1; }

    std::string bytes;
    int64_t lineStart = 1;
    int64_t lineLength = 0;
    int64_t pos = 6;
};

TEST(BinSaveLineInfo, ReadsLengthAndNumberLowByteFirst)
{
    struct Case {
        std::string header;
        int64_t length;
        const char* number;
    };
    const Case cases[] = {
        {bytes_of({0x0B, 0x00, 0xE8, 0x03}), 11, "1000"}, {bytes_of({0x05, 0x00, 0x00, 0x00}), 5, "0"},
        {bytes_of({0x05, 0x00, 0x0A, 0x00}), 5, "10"},    {bytes_of({0xFF, 0xFF, 0xFF, 0xFF}), 65535, "65535"},
        {bytes_of({0x00, 0x00, 0xE8, 0xFD}), 0, "65000"},
    };
    for (const Case& c : cases) {
        const std::string bytes = "\xFE" + c.header;
        int64_t pos = 1;
        int64_t length = -1;
        EXPECT_EQ(BinSaveGetLineInfo(bytes, &pos, &length), c.number);
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(pos, 5);
    }
}

TEST(BinSaveLineInfo, HeaderCutShortFailsWithoutMoving)
{
    const std::string bytes = bytes_of({0xFE, 0x05, 0x00, 0x0A});
    int64_t pos = 1;
    int64_t length = -1;
    EXPECT_THROW(BinSaveGetLineInfo(bytes, &pos, &length), int);
    EXPECT_EQ(pos, 1);
}

TEST(BinSaveDQuote, StopsAtTheClosingQuote)
{
    OneLine line(0x22, bytes_of({0x41, 0x42, 0x22, 0x3A}));
    EXPECT_EQ(BinSaveDecodeDQuote(line.bytes, &line.pos, line.lineStart, line.lineLength), "\"AB\"");
    EXPECT_EQ(line.pos, 9);
}

TEST(BinSaveDQuote, UnclosedLiteralEndsWithTheLine)
{
    OneLine line(0x22, bytes_of({0x41, 0x42}));
    EXPECT_EQ(BinSaveDecodeDQuote(line.bytes, &line.pos, line.lineStart, line.lineLength), "\"AB");
    EXPECT_EQ(line.pos, line.end());
}

TEST(BinSaveDQuote, QuoteInsideKanjiDoesNotClose)
{
    const std::string body = bytes_of({0x1B, 0x4B, 0x30, 0x22, 0x1B, 0x48, 0x22});
    OneLine line(0x22, body + "X");
    EXPECT_EQ(BinSaveDecodeDQuote(line.bytes, &line.pos, line.lineStart, line.lineLength), "\"" + body);
    EXPECT_EQ(line.pos, 6 + 7);
}

TEST(BinSaveData, ColonInsideQuotesDoesNotEndTheBody)
{
    const std::string body = bytes_of({0x20, 0x31, 0x2C, 0x22, 0x41, 0x3A, 0x42, 0x22, 0x2C, 0x32, 0x3A});
    OneLine line(0x91, body + bytes_of({0xC0}));
    EXPECT_EQ(BinSaveDecodeData(line.bytes, &line.pos, line.lineStart, line.lineLength), "DATA" + body);
    EXPECT_EQ(line.pos, 6 + 11);
    EXPECT_EQ(static_cast<unsigned char>(line.bytes[line.pos]), 0xC0);
}

TEST(BinSaveData, RemarkMarkerStaysUnread)
{
    OneLine line(0x91, bytes_of({0x20, 0x31, 0x2C, 0x32, 0x00, 0x41}));
    EXPECT_EQ(BinSaveDecodeData(line.bytes, &line.pos, line.lineStart, line.lineLength), "DATA 1,2");
    EXPECT_EQ(line.pos, 10);
}

TEST(BinSaveData, ZeroColonAndQuoteInsideKanjiAreBytes)
{
    const std::string body = bytes_of({0x1B, 0x4B, 0x00, 0x3A, 0x22, 0x21, 0x1B, 0x48, 0x3A});
    OneLine line(0x91, body + "A");
    EXPECT_EQ(BinSaveDecodeData(line.bytes, &line.pos, line.lineStart, line.lineLength), "DATA" + body);
    EXPECT_EQ(line.pos, 6 + 9);
}

TEST(BinSaveData, AtTheEndOfTheLineIsJustTheKeyword)
{
    OneLine line(0x91, "");
    EXPECT_EQ(BinSaveDecodeData(line.bytes, &line.pos, line.lineStart, line.lineLength), "DATA");
    EXPECT_EQ(line.pos, 6);
}

TEST(BinSaveLabelAndVar, CountBoundsTheName)
{
    struct Case {
        std::string rest;
        const char* text;
        int64_t consumed;
    };
    const Case cases[] = {
        {bytes_of({0x00, 0x42}), "A", 1},
        {bytes_of({0x02, 0x42, 0x31, 0x43}), "AB1", 3},
        {bytes_of({0x03, 0x62, 0x24, 0x63}), "Ab$c", 4},
    };
    for (const Case& c : cases) {
        OneLine line(0x41, c.rest);
        EXPECT_EQ(BinSaveDecodeLabelAndVar(line.bytes, &line.pos, 0x41), c.text);
        EXPECT_EQ(line.pos, 6 + c.consumed);
    }
}

TEST(BinSaveLabelAndVar, LongestNameTakes255Bytes)
{
    OneLine line(0x5A, "\xFF" + std::string(255, 'Q'));
    const std::string text = BinSaveDecodeLabelAndVar(line.bytes, &line.pos, 0x5A);
    EXPECT_EQ(text, "Z" + std::string(255, 'Q'));
    EXPECT_EQ(line.pos, 6 + 256);
}

TEST(BinSaveLabelAndVar, CountPastTheBytesFails)
{
    // The record's bytes end at its terminator: a count that reaches past them fails.
    OneLine line(0x41, bytes_of({0x05, 0x42}));
    const std::string record = line.bytes.substr(0, static_cast<size_t>(line.end()));
    EXPECT_THROW(BinSaveDecodeLabelAndVar(record, &line.pos, 0x41), int);
}

TEST(BinSaveRem, CopiesEverythingUpToTheTerminator)
{
    const std::string body = bytes_of({0x3A, 0x22, 0x00, 0x1B, 0x4B, 0x61, 0x80, 0xFF});
    OneLine line(0x00, body);
    EXPECT_EQ(BinSaveDecodeRem(line.bytes, &line.pos, line.lineStart, line.lineLength), body);
    EXPECT_EQ(line.pos, line.end());
}

TEST(BinSaveRem, AtTheEndOfTheLineIsEmpty)
{
    OneLine line(0x00, "");
    EXPECT_EQ(BinSaveDecodeRem(line.bytes, &line.pos, line.lineStart, line.lineLength), "");
    EXPECT_EQ(line.pos, 6);
}

TEST(BinSaveDecoders, LineLengthBelowTheBytesReadStopsAtOnce)
{
    // A length that puts the end of the line behind the position reads nothing.
    OneLine line(0x22, "ABC");
    for (int64_t length : {0, 1, 4, 5}) {
        int64_t pos = line.pos;
        EXPECT_EQ(BinSaveDecodeRem(line.bytes, &pos, line.lineStart, length), "");
        EXPECT_EQ(BinSaveDecodeDQuote(line.bytes, &pos, line.lineStart, length), "\"");
        EXPECT_EQ(BinSaveDecodeData(line.bytes, &pos, line.lineStart, length), "DATA");
        EXPECT_EQ(pos, line.pos);
    }
}

TEST(BinSaveDecoders, LineLengthPastTheBytesFails)
{
    OneLine line(0x00, "AB");
    line.bytes[static_cast<size_t>(line.end())] = 'C';  // no 0x00 to end a DATA body
    const int64_t tooLong = static_cast<int64_t>(line.bytes.size()) + 10;
    int64_t pos = line.pos;
    EXPECT_THROW(BinSaveDecodeRem(line.bytes, &pos, line.lineStart, tooLong), int);
    pos = line.pos;
    EXPECT_THROW(BinSaveDecodeDQuote(line.bytes, &pos, line.lineStart, tooLong), int);
    pos = line.pos;
    EXPECT_THROW(BinSaveDecodeData(line.bytes, &pos, line.lineStart, tooLong), int);
}

TEST(BinSaveSpace, WritesThatManyBlanks)
{
    EXPECT_EQ(BinSaveDecodeSpace(1), " ");
    EXPECT_EQ(BinSaveDecodeSpace(9), "         ");
}

TEST(BinSaveJpnCheck, OnlyTheShiftPairsChangeTheMode)
{
    const std::string bytes = bytes_of({0x1B, 0x4B, 0x1B, 0x48, 0x4B, 0x1B});
    bool kanji = false;
    BinSaveJpnCheck(bytes, 2, &kanji);
    EXPECT_TRUE(kanji);
    BinSaveJpnCheck(bytes, 3, &kanji);  // 0x4B 0x1B
    EXPECT_TRUE(kanji);
    BinSaveJpnCheck(bytes, 4, &kanji);
    EXPECT_FALSE(kanji);
    BinSaveJpnCheck(bytes, 5, &kanji);  // 0x48 0x4B
    EXPECT_FALSE(kanji);
    BinSaveJpnCheck(bytes, 1, &kanji);  // fewer than two bytes before
    BinSaveJpnCheck(bytes, 7, &kanji);  // past the bytes
    EXPECT_FALSE(kanji);
}

TEST(BinSaveReader, ReadsStopAtTheEndOfTheBytes)
{
    const std::string bytes = bytes_of({0x34, 0x12, 0xFF});
    int64_t pos = 0;
    EXPECT_EQ(BinSaveGetInt16(bytes, &pos), 0x1234);
    EXPECT_EQ(pos, 2);
    EXPECT_THROW(BinSaveGetInt16(bytes, &pos), int);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(BinSaveGetChar(bytes, &pos), 0xFF);
    EXPECT_THROW(BinSaveGetChar(bytes, &pos), int);
    pos = -1;
    EXPECT_THROW(BinSaveGetChar(bytes, &pos), int);
}

}  // namespace
