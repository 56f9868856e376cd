// Lists that are not plain UTF-8 text run through kivo-headless as the editor would
// open them: binary-saved lists, NEC JIS and Shift-JIS lists, the --encoding request
// and UTF-8 lists that begin with a byte-order mark.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include <unistd.h>

#include "tests/TestPaths.h"
#include "tests/e2e/HeadlessProcess.h"
#include "tools/headless/HeadlessRun.h"

namespace {

namespace fs = std::filesystem;

std::string bytes_of(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values) bytes += static_cast<char>(value);
    return bytes;
}

// One binary-saved line record: length, line number, body, terminator.
std::string record(int number, const std::string& body)
{
    const int length = static_cast<int>(body.size()) + 5;
    return bytes_of({length & 0xFF, length >> 8, number & 0xFF, number >> 8}) + body + '\0';
}

std::string read_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A list file of its own in a temporary folder, removed at the end.
class ListFile {
public:
    ListFile(const std::string& name, const std::string& bytes)
        : mDir(fs::temp_directory_path() / ("kivo-e2e-lists-" + std::to_string(::getpid())))
    {
        fs::create_directories(mDir);
        mPath = mDir / name;
        std::ofstream(mPath, std::ios::binary) << bytes;
    }
    ~ListFile()
    {
        std::error_code ignored;
        fs::remove(mPath, ignored);
        fs::remove(mDir, ignored);
    }
    std::string Path() const { return mPath.string(); }

private:
    fs::path mDir;
    fs::path mPath;
};

const fs::path MACHINE_LINE = fs::path(test_paths::FixtureDir()) / "listfiles" / "nec-line65000.bas";

// 65000 CLS 1:CONSOLE 0,25,0,1:DEF SEG=&H1200:SUB=&H5000:CALL SUB, as a real
// machine stored it. CALL of a machine-code routine compiles to nothing here, so
// the line clears the screen, sets the console window and the segment, assigns
// SUB and ends.
TEST(BinarySavedList, MachineStoredLineRuns)
{
    const THeadlessOutcome outcome = run_headless_process({MACHINE_LINE.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Ok\n");
    EXPECT_EQ(outcome.err, "");
}

// The same record followed by one of ours that shows what the line assigned.
TEST(BinarySavedList, MachineStoredLineAssignsItsVariable)
{
    std::string list = read_bytes(MACHINE_LINE);
    ASSERT_GT(list.size(), 2u);
    list.pop_back();                                                           // the end byte
    list += record(65010, bytes_of({0x20, 0xC0, 0x20, 'S', 0x02, 'U', 'B'}));  // PRINT SUB
    list += '\x1A';
    const ListFile file("line65000.bas", list);
    const THeadlessOutcome outcome = run_headless_process({file.Path()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, " 20480\nOk\n");
}

// A program put together byte by byte: keyword tokens, constants of several
// kinds, names with their count byte and a kanji string in NEC shifts.
TEST(BinarySavedList, BuiltProgramPrintsNumbersAndKanji)
{
    const std::string list =
        "\xFE" +
        // 10 PRINT 1+2;3.5;-7   (digit constants, a Microsoft Binary Format single)
        record(10, bytes_of({0x20, 0xC0, 0x20, 0x11, 0xF3, 0x12, ';', 0x1D, 0x00, 0x00, 0x60, 0x82, ';', 0xF4, 0x17})) +
        // 20 PRINT "漢字"   (JIS 0x3441 0x3B7A between ESC K and ESC H)
        record(20, bytes_of({0x20, 0xC0, 0x20, 0x22, 0x1B, 'K', 0x34, 0x41, 0x3B, 0x7A, 0x1B, 'H', 0x22})) +
        // 30 A%=&H10:PRINT A%*200   (a name of two letters, a hexadecimal and a byte constant)
        record(30, bytes_of({0x20, 'A', 0x01, '%', 0xF1, 0x0C, 0x10, 0x00, ':', 0xC0, 0x20, 'A', 0x01, '%', 0xF5, 0x0F,
                             0xC8})) +
        // 40 PRINT -1000;12345!;1#   (signed 16-bit and double constants)
        record(40, bytes_of({0x20, 0xC0, 0x20, 0xF4, 0x1C, 0xE8, 0x03, ';', 0x1D, 0x00, 0xE4, 0x40,
                             0x8E, ';',  0x1F, 0,    0,    0,    0,    0,   0,    0,    0x81})) +
        "\x1A";
    const ListFile file("built.bas", list);
    const THeadlessOutcome outcome = run_headless_process({file.Path()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, " 3  3.5 -7\n漢字\n 3200\n-1000  12345  1\nOk\n");
}

// A list the decoder rejects is reported, and nothing of it runs.
TEST(BinarySavedList, MalformedListIsRefused)
{
    const std::string firstLine = record(10, bytes_of({0x20, 0xC0, 0x20, 0x11}));  // 10 PRINT 1
    const std::string cases[] = {
        "\xFE",                                                            // the header alone
        "\xFE" + firstLine,                                                // no end byte
        "\xFE" + firstLine + firstLine.substr(0, 7),                       // cut in the second record
        "\xFE" + firstLine + record(20, bytes_of({0x20, 'p'})) + "\x1A",   // lower case where an item begins
        "\xFE" + firstLine + bytes_of({0x03, 0x00, 0x14, 0x00}) + "\x1A",  // a record length below 5
        "\xFE" + firstLine + record(20, bytes_of({0xFF, 0x87})) + "\x1A",  // a two-byte token without a row
    };
    for (const std::string& list : cases) {
        const ListFile file("bad.bas", list);
        for (const char* encoding : {"auto", "utf8", "jis"}) {
            const THeadlessOutcome outcome = run_headless_process({"--encoding", encoding, file.Path()});
            EXPECT_EQ(outcome.status, 4) << testing::PrintToString(list);
            EXPECT_EQ(outcome.out, "");
            EXPECT_NE(outcome.err.find(file.Path() + ": This binary-saved list cannot be read."), std::string::npos)
                << outcome.err;
        }
    }
}

// The fixtures in NEC JIS and Shift-JIS run the same under Auto Detect and under
// their own encoding; a wrong request is refused before anything runs.
TEST(EncodingRequest, FixturesRunUnderTheirOwnEncoding)
{
    const fs::path fixtures = test_paths::E2eFixtureDir();
    struct Case {
        const char* name;
        const char* encoding;
    };
    for (const Case& c : {Case{"nec_jis_kanji", "jis"}, Case{"sjis_integer_division", "sjis"}}) {
        const std::string list = (fixtures / (std::string(c.name) + ".bas")).string();
        const std::string screen = read_bytes(fixtures / (std::string(c.name) + ".screen"));
        for (const char* encoding : {c.encoding, "auto"}) {
            const THeadlessOutcome outcome = run_headless_process({"--encoding", encoding, list});
            EXPECT_EQ(outcome.status, 0) << c.name << ' ' << encoding << ": " << outcome.err;
            EXPECT_EQ(outcome.out, screen) << c.name << ' ' << encoding;
        }
    }
}

TEST(EncodingRequest, UnknownEncodingIsABadArgument)
{
    const THeadlessOutcome outcome =
        run_headless_process({"--encoding", "euc", test_paths::E2eFixtureDir() + "/empty_program.bas"});
    EXPECT_EQ(outcome.status, 4);
    EXPECT_NE(outcome.err.find("--encoding wants utf8, sjis, jis or auto"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
}

// A UTF-8 list that begins with a byte-order mark, as editors of other systems save
// it, runs from its first line under Auto Detect and under UTF-8.
TEST(MarkedList, RunsFromItsFirstLine)
{
    struct Case {
        const char* name;
        std::string list;
        std::string screen;
    };
    const Case cases[] = {
        {"line feeds", "10 PRINT 1:GOTO 30\n20 PRINT 2\n30 PRINT \"\u6F22\"\n", " 1\n\u6F22\nOk\n"},
        {"CR LF line ends", "10 PRINT 1\r\n20 PRINT 2\r\n", " 1\n 2\nOk\n"},
        {"no line numbers", "PRINT 1\nPRINT 2\n", " 1\n 2\nOk\n"},
    };
    for (const Case& c : cases) {
        const ListFile file("marked.bas", "\xEF\xBB\xBF" + c.list);
        for (const char* encoding : {"auto", "utf8"}) {
            const THeadlessOutcome outcome = run_headless_process({"--encoding", encoding, file.Path()});
            EXPECT_EQ(outcome.status, 0) << c.name << ' ' << encoding << ": " << outcome.err;
            EXPECT_EQ(outcome.out, c.screen) << c.name << ' ' << encoding;
            EXPECT_EQ(outcome.err, "") << c.name << ' ' << encoding;
        }
    }
}

// After the mark, a first line without a number in a numbered list is a compile error
// that names the line by its text.
TEST(MarkedList, AFirstLineWithoutANumberIsNamedByItsText)
{
    const ListFile file("unnumbered.bas", "\xEF\xBB\xBFPRINT 1\n20 END\n");
    const THeadlessOutcome outcome = run_headless_process({file.Path()});
    EXPECT_EQ(outcome.status, HEADLESS_COMPILE_ERROR) << outcome.err;
    EXPECT_NE(outcome.err.find("\n\nLine: PRINT 1\n"), std::string::npos) << outcome.err;
}

// A Shift-JIS list read as UTF-8 is not converted: the bytes of its kanji, which are
// no UTF-8, show as U+FFFD each, while the ASCII around them still runs.
TEST(EncodingRequest, Utf8RequestLeavesShiftJisUnconverted)
{
    const ListFile file("sjis.bas", "10 PRINT 9\\2;\"\x8A\xBF\"\r\n");
    const THeadlessOutcome asUtf8 = run_headless_process({"--encoding", "utf8", file.Path()});
    EXPECT_EQ(asUtf8.status, 0) << asUtf8.err;
    EXPECT_EQ(asUtf8.out.substr(0, 9), " 4 \uFFFD\uFFFD");
    const THeadlessOutcome detected = run_headless_process({file.Path()});
    EXPECT_EQ(detected.out, " 4 \u6F22\nOk\n");
}

}  // namespace
