#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "listfiles/BinSaveList.h"
#include "tests/TestPaths.h"
#include "tests/listfiles/ByteString.h"

namespace {

// One record: length, line number, body, terminator.
std::string record(int number, const std::string& body)
{
    const int length = static_cast<int>(body.size()) + 5;
    return bytes_of({length & 0xFF, length >> 8, number & 0xFF, number >> 8}) + body + '\0';
}

std::string list_of(const std::vector<std::string>& records)
{
    std::string list = "\xFE";
    for (const std::string& r : records) list += r;
    return list + "\x1A";
}

std::string read_fixture(const char* name)
{
    std::ifstream file(test_paths::FixtureDir() + "/listfiles/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(BinSaveList, MachineStoredLineDecodesToItsListing)
{
    std::string list = read_fixture("nec-line65000.bas");
    const std::string expected = read_fixture("nec-line65000.txt");
    ASSERT_FALSE(list.empty());
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(list, expected);
}

struct LineCase {
    const char* what;
    int number;
    std::string body;
    std::string text;  // the decoded line, its line feed not included
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.what;
}

class BinSaveListLine : public testing::TestWithParam<LineCase> {};

TEST_P(BinSaveListLine, DecodesToItsText)
{
    const LineCase& c = GetParam();
    std::string list = list_of({record(c.number, c.body)});
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(list, c.text + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BinSaveListLine,
    testing::Values(
        LineCase{"empty body", 10, "", "10"}, LineCase{"highest line number", 65535, "", "65535"},
        LineCase{"assignment", 10, bytes_of({0x20, 0x41, 0x00, 0x3D, 0x11}), "10 A=1"},
        LineCase{"name bytes pass unchanged", 10, bytes_of({0x20, 0x41, 0x03, 0x62, 0x24, 0x63}), "10 Ab$c"},
        LineCase{"runs of spaces", 10, bytes_of({0x09, 0x3A, 0x01}), "10         : "},
        LineCase{"integer constants", 10,
                 bytes_of({0x0B, 0x0F, 0x00, 0x2C, 0x0C, 0xFF, 0x00, 0x2C, 0x0E, 0x10, 0x27, 0x2C, 0x0F, 0xC8, 0x2C,
                           0x1C, 0xFF, 0xFF}),
                 "10&O17,&HFF,10000,200,-1"},
        LineCase{"floating constants", 10,
                 bytes_of({0x1D, 0x00, 0x00, 0x40, 0x81, 0x2C, 0x1F, 0, 0, 0, 0, 0, 0, 0x00, 0x81}), "101.5,1#"},
        LineCase{"ELSE hides its separator", 10,
                 bytes_of({0x20, 0xA8, 0x20, 0x41, 0x00, 0x20, 0xD6, 0x20, 0x14, 0x20, 0x3A, 0x99, 0x20, 0x15}),
                 "10 IF A THEN 4 ELSE 5"},
        LineCase{"ELSE after another character keeps it", 10, bytes_of({0x20, 0x99, 0x20, 0x12}), "10 ELSE 2"},
        LineCase{"ELSE first in the body keeps the line number", 10, bytes_of({0x99}), "10ELSE"},
        LineCase{"unclosed string runs to the end", 10, bytes_of({0x20, 0xC0, 0x22, 0x41, 0x3A, 0x42}),
                 "10 PRINT\"A:B"},
        LineCase{"quote inside kanji stays in the string", 10,
                 bytes_of({0xC0, 0x22, 0x1B, 0x4B, 0x30, 0x22, 0x1B, 0x48, 0x22, 0x3A, 0xD1}),
                 "10PRINT" + bytes_of({0x22, 0x1B, 0x4B, 0x30, 0x22, 0x1B, 0x48, 0x22}) + ":STOP"},
        LineCase{"DATA ends at a colon outside quotes", 10,
                 bytes_of({0x91, 0x20, 0x22, 0x41, 0x3A, 0x22, 0x2C, 0x31, 0x3A, 0xC0, 0x20, 0x41, 0x00}),
                 "10DATA \"A:\",1:PRINT A"},
        LineCase{"DATA before a remark", 10, bytes_of({0x91, 0x20, 0x31, 0x00, 0x20, 0x61, 0x3A, 0x22, 0x80}),
                 "10DATA 1 a:\"" + bytes_of({0x80})},
        LineCase{"remark passes everything", 10, bytes_of({0x3A, 0x8F, 0x00, 0x27, 0x78, 0xE0, 0x0A, 0x1B}),
                 "10:CLS'x" + bytes_of({0xE0, 0x0A, 0x1B})},
        LineCase{"two-byte tokens", 10,
                 bytes_of({0xC0, 0xFF, 0x9C, 0x28, 0x0F, 0x0F, 0x29, 0x3B, 0xFF, 0xCE, 0xFF, 0x86}),
                 "10PRINTCHR$(15);IEEEWINDOW"},
        LineCase{
            "operators", 10,
            bytes_of({0x41, 0x00, 0xF1, 0x42, 0x00, 0xF3, 0x13, 0xF5, 0x43, 0x00, 0xFE, 0x12, 0x20, 0xFD, 0x20, 0x17}),
            "10A=B+3*C\\2 MOD 7"}));

TEST(BinSaveList, LinesFollowEachOther)
{
    std::string list =
        list_of({record(10, bytes_of({0x20, 0x8F})), record(20, ""), record(30, bytes_of({0x20, 0x9A}))});
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(list, "10 CLS\n20\n30 END\n");
}

TEST(BinSaveList, HeaderAndEndByteAloneGiveNoText)
{
    std::string list = bytes_of({0xFE, 0x1A});
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(list, "");
}

TEST(BinSaveList, ZeroLengthClosesTextSavedFromMemory)
{
    std::string list = "\xFE" + record(10, bytes_of({0x20, 0x9A})) + bytes_of({0x00, 0x00, 0x1A});
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(list, "10 END\n");

    std::string empty = bytes_of({0xFE, 0x00, 0x00, 0x1A});
    ASSERT_EQ(BinSaveToAsciiSave(empty), 0);
    EXPECT_EQ(empty, "");
}

struct BadCase {
    const char* what;
    std::string list;
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.what;
}

class BinSaveListMalformed : public testing::TestWithParam<BadCase> {};

TEST_P(BinSaveListMalformed, FailsAndKeepsTheBytes)
{
    std::string list = GetParam().list;
    EXPECT_EQ(BinSaveToAsciiSave(list), -1);
    EXPECT_EQ(list, GetParam().list);
}

const std::string kGoodRecord = record(10, bytes_of({0x20, 0x9A}));

std::vector<BadCase> malformed_lists()
{
    std::vector<BadCase> cases = {
        {"nothing at all", ""},
        {"header alone", "\xFE"},
        {"no end byte", "\xFE" + kGoodRecord},
        {"two bytes after the last record", "\xFE" + kGoodRecord + "\x1A\x1A"},
        {"record reaching into the end byte", "\xFE" + bytes_of({0x06, 0x00, 0x0A, 0x00, 0x00, 0x1A})},
        {"record reaching past the bytes", "\xFE" + bytes_of({0x40, 0x00, 0x0A, 0x00, 0x20, 0x00, 0x1A})},
        {"record start with too few bytes", "\xFE" + kGoodRecord + bytes_of({0x05, 0x00, 0x1A})},
        {"zero length before more records", "\xFE" + bytes_of({0x00, 0x00}) + kGoodRecord + "\x1A"},
        {"zero length without end byte", "\xFE" + kGoodRecord + bytes_of({0x00, 0x00})},
        {"line feed where an item begins", list_of({record(10, bytes_of({0x0A}))})},
        {"ESC where an item begins", list_of({record(10, bytes_of({0x1B, 0x4B}))})},
        {"one-byte token without keyword 0xCA", list_of({record(10, bytes_of({0xCA}))})},
        {"one-byte token without keyword 0xEF", list_of({record(10, bytes_of({0xEF}))})},
        {"two-byte token without keyword", list_of({record(10, bytes_of({0xFF, 0x87}))})},
        {"two-byte token below the table", list_of({record(10, bytes_of({0xFF, 0x41}))})},
        {"two-byte token above the table", list_of({record(10, bytes_of({0xFF, 0xD0}))})},
        {"two-byte token cut by the terminator", list_of({record(10, bytes_of({0x20, 0xFF}))})},
        {"name count past the terminator", list_of({record(10, bytes_of({0x41, 0x02, 0x42}))})},
        {"constant past the terminator", list_of({record(10, bytes_of({0x1D, 0x00, 0x00, 0x81}))})},
        {"bad line after a good one", list_of({kGoodRecord, record(20, bytes_of({0x61}))})},
    };
    for (int length = 1; length < 5; ++length)
        cases.push_back({"record length below five", "\xFE" + bytes_of({length, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x1A})});
    for (int marker : {0x0D, 0x1A, 0x1B, 0x1E})
        cases.push_back(
            {"constant kind without layout", list_of({record(10, bytes_of({marker, 0, 0, 0, 0, 0, 0, 0, 0}))})});
    for (int byte = 0x5B; byte <= 0x7F; ++byte)
        cases.push_back({"byte that begins no item", list_of({record(10, bytes_of({0x20, byte}))})});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Lists, BinSaveListMalformed, testing::ValuesIn(malformed_lists()));

// Cutting a list anywhere fails, except where the cut leaves exactly one byte
// after a whole record: that byte reads as the end byte, and the lines before
// it decode as they would in the whole list.
TEST(BinSaveList, EveryTruncationFailsOrKeepsWholeLines)
{
    const std::vector<std::string> records = {
        record(10, bytes_of({0x20, 0xC0, 0x22, 0x1B, 0x4B, 0x30, 0x22, 0x1B, 0x48, 0x22})),
        record(20, bytes_of({0x91, 0x20, 0x1D, 0x31, 0x2C, 0x32, 0x3A, 0x00, 0x78})),
        record(30, bytes_of({0x41, 0x01, 0x42, 0xF1, 0x1F, 0, 0, 0, 0, 0, 0, 0x40, 0x81, 0x3A, 0x99, 0xFF, 0x9C})),
        record(40, bytes_of({0x8F, 0x20, 0x0C, 0x00, 0x12})),
    };
    std::string whole = list_of(records);
    std::string wholeText = whole;
    ASSERT_EQ(BinSaveToAsciiSave(wholeText), 0);

    std::vector<size_t> recordEnds;  // offsets just after each record
    size_t offset = 1;
    for (const std::string& r : records) recordEnds.push_back(offset += r.size());

    for (size_t size = 0; size < whole.size(); ++size) {
        const std::string cut = whole.substr(0, size);
        std::string list = cut;
        const int result = BinSaveToAsciiSave(list);
        size_t wholeLines = 0;
        while (wholeLines < recordEnds.size() && recordEnds[wholeLines] + 1 <= size) ++wholeLines;
        const bool endsAfterRecord = size == 2 || (wholeLines > 0 && recordEnds[wholeLines - 1] + 1 == size);
        if (!endsAfterRecord) {
            EXPECT_EQ(result, -1) << "cut at " << size;
            EXPECT_EQ(list, cut);
            continue;
        }
        ASSERT_EQ(result, 0) << "cut at " << size;
        size_t lineEnd = 0;
        for (size_t line = 0; line < wholeLines; ++line) lineEnd = wholeText.find('\n', lineEnd) + 1;
        EXPECT_EQ(list, wholeText.substr(0, lineEnd)) << "cut at " << size;
    }
}

}  // namespace
