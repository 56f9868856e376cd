// Two handles on one file, and names with a NUL byte, through kivo-headless.
//
// A file open FOR OUTPUT or FOR APPEND has no other handle, under any name that
// reaches it; files read, or read and written without FOR, share. A refused OPEN
// leaves the file as the first handle wrote it. A name holding a NUL, in the drive
// number as well as in the file part, is refused by every statement that takes a name,
// and nothing is created, changed or run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/FixtureDrives.h"
#include "tests/e2e/FixtureText.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;
using fixture_drives::TFixtureDrives;

template <typename Case>
std::string case_name(const ::testing::TestParamInfo<Case>& info)
{
    return std::to_string(info.index);
}

void write_file(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `list` with drive 1 and drive 2 both mapped to drive 1's folder.
THeadlessOutcome run_list(const TFixtureDrives& drives, const std::string& list)
{
    const fs::path file = drives.Root / "list.bas";
    write_file(file, list);
    const std::string folder = drives.Drive(1).string();
    return run_headless_process({"--drive", "1=" + folder, "--drive", "2=" + folder, file.string()});
}

struct TMode {
    const char* clause;  // as written between the name and AS
    const char* left;    // X.TXT ("old" at the start) once the first handle wrote "one"
    const char* shown;   // in the test's name
};
const TMode INPUT{"FOR INPUT ", "old\r\n", "INPUT"};
const TMode OUTPUT{"FOR OUTPUT ", "one\r\n", "OUTPUT"};
const TMode APPEND{"FOR APPEND ", "old\r\none\r\n", "APPEND"};
const TMode NO_FOR{"", "one\r\n", "NO_FOR"};

struct THandlesCase {
    TMode first;         // opens X.TXT as #1, and writes "one" unless FOR INPUT
    const char* second;  // the name that #2 opens
    TMode secondMode;
    bool refused;
};

// The name the test runner shows.
void PrintTo(const THandlesCase& c, std::ostream* out)
{
    *out << c.first.shown << " then " << c.secondMode.shown << " " << c.second;
}

class SecondHandle : public ::testing::TestWithParam<THandlesCase> {};

TEST_P(SecondHandle, IsRefusedOrOpensAndTheFirstHandlesDataIsKept)
{
    const THandlesCase& c = GetParam();
    TFixtureDrives drives;
    write_file(drives.Drive(1) / "X.TXT", "old\r\n");
    fs::create_symlink("X.TXT", drives.Drive(1) / "LINK.TXT");
    const bool firstWrites = std::string(c.first.clause) != INPUT.clause;
    const std::string list = std::string("10 OPEN \"X.TXT\" ") + c.first.clause + "AS #1\n" +
                             (firstWrites ? "20 PRINT #1,\"one\"\n" : "") + "30 OPEN \"" + c.second + "\" " +
                             c.secondMode.clause + "AS #2\n" + "40 PRINT \"both open\"\n";

    const THeadlessOutcome outcome = run_list(drives, list);
    EXPECT_EQ(outcome.status, c.refused ? 1 : 0) << outcome.err;
    EXPECT_EQ(outcome.out, c.refused ? "File already open in 30\nOk\n" : "both open\nOk\n");
    std::string left;
    ASSERT_TRUE(read_file(drives.Drive(1) / "X.TXT", left));
    EXPECT_EQ(left, c.first.left);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ModePairs, SecondHandle, ::testing::Values(
    THandlesCase{INPUT,  "X.TXT", INPUT,  false},
    THandlesCase{INPUT,  "X.TXT", OUTPUT, true},
    THandlesCase{INPUT,  "X.TXT", APPEND, true},
    THandlesCase{INPUT,  "X.TXT", NO_FOR, false},
    THandlesCase{OUTPUT, "X.TXT", INPUT,  true},
    THandlesCase{OUTPUT, "X.TXT", OUTPUT, true},
    THandlesCase{OUTPUT, "X.TXT", APPEND, true},
    THandlesCase{OUTPUT, "X.TXT", NO_FOR, true},
    THandlesCase{APPEND, "X.TXT", INPUT,  true},
    THandlesCase{APPEND, "X.TXT", OUTPUT, true},
    THandlesCase{APPEND, "X.TXT", APPEND, true},
    THandlesCase{APPEND, "X.TXT", NO_FOR, true},
    THandlesCase{NO_FOR, "X.TXT", INPUT,  false},
    THandlesCase{NO_FOR, "X.TXT", OUTPUT, true},
    THandlesCase{NO_FOR, "X.TXT", APPEND, true},
    THandlesCase{NO_FOR, "X.TXT", NO_FOR, false}), case_name<THandlesCase>);

// Other names of the same file: a drive prefix, a folder step, another drive mapped
// to the same folder, a link; and another file, which is free.
INSTANTIATE_TEST_SUITE_P(Spellings, SecondHandle, ::testing::Values(
    THandlesCase{OUTPUT, "1:X.TXT",    OUTPUT, true},
    THandlesCase{OUTPUT, " 01:X.TXT",  INPUT,  true},
    THandlesCase{OUTPUT, "./X.TXT",    APPEND, true},
    THandlesCase{INPUT,  "2:X.TXT",    OUTPUT, true},
    THandlesCase{APPEND, "LINK.TXT",   NO_FOR, true},
    THandlesCase{OUTPUT, "Y.TXT",      OUTPUT, false}), case_name<THandlesCase>);
// clang-format on

struct TNulCase {
    const char* statement;  // takes the name N$
    const char* error;      // what ends the run
};

void PrintTo(const TNulCase& c, std::ostream* out)
{
    *out << c.statement;
}

class NulName : public ::testing::TestWithParam<TNulCase> {};

// The name comes from a file, as a NUL cannot be written in a program's text. C.BAS
// exists and would run; NEW.BAS does not exist and must not be created.
TEST_P(NulName, IsRefusedAndTouchesNothing)
{
    const TNulCase& c = GetParam();
    const std::string names[] = {
        std::string("1\0:C.BAS", 8),
        std::string("1\0:NEW.BAS", 10),
        std::string("C.BAS\0", 6),
        std::string("NEW\0.BAS", 8),
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(fixture_drives::escape_bytes(name));
        TFixtureDrives drives;
        write_file(drives.Drive(1) / "N.TXT", name + "\r\n");
        write_file(drives.Drive(1) / "C.BAS", "10 PRINT \"ran C\"\r\n");
        const std::string before = drives.Written();
        const std::string list = std::string("10 OPEN \"N.TXT\" FOR INPUT AS #1:LINE INPUT #1,N$:CLOSE #1\n20 ") +
                                 c.statement + "\n30 PRINT \"accepted\"\n";

        const THeadlessOutcome outcome = run_list(drives, list);
        EXPECT_EQ(outcome.status, 1) << outcome.err;
        EXPECT_EQ(outcome.out, std::string(c.error) + " in 20\nOk\n");
        EXPECT_EQ(drives.Written(), before);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Statements, NulName, ::testing::Values(
    TNulCase{"OPEN N$ FOR INPUT AS #2",  "Cannot open file"},
    TNulCase{"OPEN N$ FOR OUTPUT AS #2", "Cannot open file"},
    TNulCase{"OPEN N$ FOR APPEND AS #2", "Cannot open file"},
    TNulCase{"OPEN N$ AS #2",            "Cannot open file"},
    TNulCase{"RUN N$",                   "File not found"},
    TNulCase{"CHAIN N$",                 "File not found"},
    TNulCase{"CHAIN MERGE N$",           "File not found"}),
    case_name<TNulCase>);
// clang-format on

}  // namespace
