// Reading a list file into the editor's text: binary-saved decoding, line-end
// clean-up, the encoding request and detection, the NEC JIS rewrite and the notes.

#include <gtest/gtest.h>

#include <string>

#include "listfiles/ListLoader.h"
#include "tests/listfiles/ByteString.h"

namespace {

const std::string PC98_NOTE_1 = "Converted PC-98 peculiar 1 characters to standbies.";

struct LoadCase {
    const char* what;
    std::string file;
    int32_t encoding;
    std::string text;
    int32_t conversion;
    std::string note;
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.what;
}

class ListLoader : public testing::TestWithParam<LoadCase> {};

TEST_P(ListLoader, ReadsAsTheEditorWould)
{
    const LoadCase& c = GetParam();
    const TLoadedList loaded = LoadListText(c.file, c.encoding, true);
    EXPECT_FALSE(loaded.BadBinSave);
    EXPECT_EQ(loaded.Text, c.text);
    EXPECT_EQ(loaded.LoadedConversion, c.conversion);
    EXPECT_EQ(loaded.Note, c.note);
}

// One binary-saved record: length, line number, body, terminator.
std::string bin_record(int number, const std::string& body)
{
    const int length = static_cast<int>(body.size()) + 5;
    return bytes_of({length & 0xFF, length >> 8, number & 0xFF, number >> 8}) + body + '\0';
}

const std::string PRINT_ONE = bin_record(10, bytes_of({0x20, 0xC0, 0x20, 0x11}));  // 10 PRINT 1

INSTANTIATE_TEST_SUITE_P(
    Files, ListLoader,
    testing::Values(
        LoadCase{"an empty file", "", LIST_ENCODING_AUTO_DETECT, "", LIST_CONVERSION_NONE, ""},
        LoadCase{"CR LF lines and a Control-Z", "10 A\r\n20 B\r\n\x1A", LIST_ENCODING_AUTO_DETECT, "10 A\n20 B\n",
                 LIST_CONVERSION_NONE, ""},
        LoadCase{"CR alone joins the lines", "10 A\r20 B\r", LIST_ENCODING_AUTO_DETECT, "10 A20 B",
                 LIST_CONVERSION_NONE, ""},
        // A NUL would cut the editor's text there, and a save would then cut the file.
        LoadCase{"a NUL in an unconverted list becomes a space",
                 std::string("10 A\n\0"
                             "20 B\n",
                             11),
                 LIST_ENCODING_UTF8, "10 A\n 20 B\n", LIST_CONVERSION_REPAIRED_UTF8,
                 "Converted invalid 1 characters to spaces."},
        // Bytes the editor cannot hold are marked, and Save must not write the marks
        // over the file without the user choosing the name.
        LoadCase{"invalid UTF-8 asked for as UTF-8 is repaired", "10 ' \x8A\xBF\n20 ' \xC0\xAF\xED\xA0\x80\n",
                 LIST_ENCODING_UTF8, "10 ' \uFFFD\uFFFD\n20 ' \uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\n",
                 LIST_CONVERSION_REPAIRED_UTF8, "Replaced 7 bytes that are not UTF-8 with \uFFFD."},
        LoadCase{"a UTF-8 sequence cut by the end of the file", "' \xE6\xBC", LIST_ENCODING_UTF8, "' \uFFFD\uFFFD",
                 LIST_CONVERSION_REPAIRED_UTF8, "Replaced 2 bytes that are not UTF-8 with \uFFFD."},
        LoadCase{"four-byte UTF-8 is kept", "' \U0001F600\n", LIST_ENCODING_UTF8, "' \U0001F600\n",
                 LIST_CONVERSION_NONE, ""},
        // A Control-Z would become a line break in the compiler's copy and vanish at
        // the next save and reopen.
        LoadCase{"a Shift-JIS character without a Unicode form becomes a counted mark",
                 "10 ' \x85\x40\x88\x9F\x85\x41\n", LIST_ENCODING_SHIFT_JIS, "10 ' \u3013\u4E9C\u3013\n",
                 LIST_CONVERSION_SHIFT_JIS, "Replaced 2 characters that have no Unicode form with \u3013."},
        LoadCase{"valid UTF-8 is not converted", "10 PRINT \"\u6F22\"\n", LIST_ENCODING_AUTO_DETECT,
                 "10 PRINT \"\u6F22\"\n", LIST_CONVERSION_NONE, ""},
        LoadCase{"invalid UTF-8 is taken for Shift-JIS", "10 PRINT \"\x8A\xBF\"\n", LIST_ENCODING_AUTO_DETECT,
                 "10 PRINT \"\u6F22\"\n", LIST_CONVERSION_SHIFT_JIS, ""},
        LoadCase{"a kanji whose second byte is a backslash", "10 A=7\\2:' \x95\x5C\n", LIST_ENCODING_SHIFT_JIS,
                 "10 A=7\\2:' \u8868\n", LIST_CONVERSION_SHIFT_JIS, ""},
        // The Shift-JIS lead byte is a PC-98 graphic to the NEC JIS rewrite, and its
        // second byte a half-width kana.
        LoadCase{"an ESC makes it JIS even beside Shift-JIS bytes", "10 ' \x1BK\x34\x41\x1BH\n20 ' \x8A\xBF\n",
                 LIST_ENCODING_AUTO_DETECT, "10 ' \u6F22\n20 ' |\uFF7F\n", LIST_CONVERSION_JIS, PC98_NOTE_1},
        LoadCase{"UTF-8 read as Shift-JIS converts again", "' \u00E9", LIST_ENCODING_SHIFT_JIS, "' \uFF83\uFF69",
                 LIST_CONVERSION_SHIFT_JIS, ""},
        LoadCase{"JIS asked for: peculiar characters replaced and counted", "10 ' \x1BK\x2D\x21\x1BH\n",
                 LIST_ENCODING_JIS, "10 ' \uFF11\n", LIST_CONVERSION_JIS, PC98_NOTE_1},
        LoadCase{"NUL bytes of a converted list become spaces", std::string("10 ' \x1BK\x2D\x21\x1BH\0\0\n", 14),
                 LIST_ENCODING_JIS, "10 ' \uFF11  \n", LIST_CONVERSION_JIS,
                 PC98_NOTE_1 + " Converted invalid 2 characters to spaces."},
        LoadCase{"a list of half-width kana converts whole however long it grows", "' \xB1\xB2\xB3\xB4\xB5\xB6",
                 LIST_ENCODING_SHIFT_JIS, "' \uFF71\uFF72\uFF73\uFF74\uFF75\uFF76", LIST_CONVERSION_SHIFT_JIS, ""},
        LoadCase{"the separator and unknown requests read as UTF-8", "10 A\n", 1, "10 A\n", LIST_CONVERSION_NONE, ""},
        LoadCase{"binary-saved ASCII still counts as JIS", "\xFE" + PRINT_ONE + "\x1A", LIST_ENCODING_AUTO_DETECT,
                 "10 PRINT 1\n", LIST_CONVERSION_JIS, ""},
        LoadCase{"binary-saved kanji go through the NEC JIS rewrite",
                 "\xFE" + bin_record(10, bytes_of({0x20, 0xC0, 0x22, 0x1B, 0x4B, 0x2D, 0x21, 0x1B, 0x48, 0x22})) +
                     "\x1A",
                 LIST_ENCODING_AUTO_DETECT, "10 PRINT\"\uFF11\"\n", LIST_CONVERSION_JIS, PC98_NOTE_1},
        LoadCase{"binary-saved lists keep their CR bytes inside strings",
                 "\xFE" + bin_record(10, bytes_of({0x20, 0xC0, 0x22, 0x0D, 0x22})) + "\x1A", LIST_ENCODING_UTF8,
                 "10 PRINT\"\r\"\n", LIST_CONVERSION_JIS, ""}));

TEST(ListLoaderPc98, WithoutCv98NothingIsReplacedOrNoted)
{
    const TLoadedList loaded = LoadListText("10 ' \x1BK\x2D\x21\x1BH\n", LIST_ENCODING_AUTO_DETECT, false);
    EXPECT_EQ(loaded.Text, "10 ' \u2460\n");
    EXPECT_EQ(loaded.Note, "");
}

// Each half-width kana is one byte in Shift-JIS and three in UTF-8: the text grows
// past twice its length and must still convert whole.
TEST(ListLoaderKana, AKanaHeavyListConvertsWhole)
{
    std::string file;
    std::string expected;
    for (int line = 1; line <= 2000; ++line) {
        file += std::to_string(line) + " '\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\r\n";
        expected += std::to_string(line) + " '\uFF71\uFF72\uFF73\uFF74\uFF75\uFF76\uFF77\uFF78\uFF79\uFF7A\n";
    }
    const TLoadedList loaded = LoadListText(file, LIST_ENCODING_AUTO_DETECT, true);
    EXPECT_EQ(loaded.LoadedConversion, LIST_CONVERSION_SHIFT_JIS);
    EXPECT_EQ(loaded.Text, expected);
    EXPECT_EQ(loaded.Note, "");
}

TEST(ListLoaderBinSave, MalformedListsAreRejected)
{
    const std::string cases[] = {
        "\xFE",                                                    // the header alone
        "\xFE" + PRINT_ONE,                                        // no end byte
        "\xFE" + PRINT_ONE.substr(0, 6),                           // cut inside the record
        "\xFE" + bin_record(10, bytes_of({0x20, 0x61})) + "\x1A",  // a lower-case letter where an item begins
        "\xFE" + bytes_of({0x04, 0x00, 0x0A, 0x00}) + "\x1A",      // a record length below 5
    };
    for (const std::string& file : cases) {
        for (const int32_t encoding : {LIST_ENCODING_AUTO_DETECT, LIST_ENCODING_UTF8, LIST_ENCODING_JIS}) {
            const TLoadedList loaded = LoadListText(file, encoding, true);
            EXPECT_TRUE(loaded.BadBinSave) << testing::PrintToString(file);
            EXPECT_EQ(loaded.Text, "");
        }
    }
}

}  // namespace
