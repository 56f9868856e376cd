// Programs that use files, run through kivo-headless with drive folders of their own,
// from tests/e2e/fixtures/files/. Beside NAME.bas:
//   NAME.screen  the text screen after the run
//   NAME.status  the exit status, when it is not 0
//   NAME.args    more arguments for the driver, one a line (before the list)
//   NAME.stderr  lines that must each appear among the alerts
//   NAME.in      files put into the drives before the run
//   NAME.files   every file in drives 1 and 2 after the run, exactly
// A .in or .files line is `N:NAME "content"`, the name and the content with the
// escapes \r \n \t \\ \" and \xHH.
//
// Each run gets a fresh folder: drive1/ and drive2/ start empty (but for NAME.in),
// drive3/ holds traps (a link to a file outside, an absolute link, a link to the
// folder above, a FIFO, a sub-folder), and outside.txt lies beside the drives.
// Whatever a program does, nothing outside drives 1 and 2 may change.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/TestPaths.h"
#include "tests/e2e/FixtureDrives.h"
#include "tests/e2e/FixtureText.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;
using fixture_drives::parse_file_line;
using fixture_drives::TFileLine;
using fixture_drives::TFixtureDrives;

const fs::path FILE_FIXTURES = fs::path(test_paths::E2eFixtureDir()) / "files";

std::vector<std::string> fixture_names()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FILE_FIXTURES)) {
        if (is_fixture_start(entry.path())) names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FilesFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(FilesFixture, ScreenAndDrives)
{
    const std::string name = GetParam();
    const std::string base = (FILE_FIXTURES / name).string();
    TFixtureDrives drives;

    std::string text;
    if (read_file(base + ".in", text)) {
        for (const std::string& line : lines_of(text)) {
            TFileLine file;
            ASSERT_TRUE(parse_file_line(line, file) && file.Drive >= 1 && file.Drive <= 2) << "bad .in line: " << line;
            std::ofstream(drives.Drive(file.Drive) / file.Name, std::ios::binary) << file.Content;
        }
    }
    const auto before = drives.Surroundings();

    std::string expectedScreen;
    ASSERT_TRUE(read_file(base + ".screen", expectedScreen)) << "missing " << name << ".screen";
    int expectedStatus = 0;
    if (read_file(base + ".status", text)) expectedStatus = std::stoi(text);
    std::vector<std::string> args;
    for (int d = 1; d <= 3; ++d) {
        args.push_back("--drive");
        args.push_back(std::to_string(d) + "=" + drives.Drive(d).string());
    }
    if (read_file(base + ".args", text)) {
        for (const std::string& line : lines_of(text)) args.push_back(line);
    }
    args.push_back(fixture_list(base).string());

    const THeadlessOutcome outcome = run_headless_process(args);
    EXPECT_EQ(outcome.status, expectedStatus) << outcome.err;
    EXPECT_EQ(outcome.out, expectedScreen);
    if (read_file(base + ".stderr", text)) {
        for (const std::string& line : lines_of(text)) EXPECT_NE(outcome.err.find(line), std::string::npos) << line;
    }
    if (read_file(base + ".files", text)) {
        EXPECT_EQ(drives.Written(), text);
    }
    EXPECT_EQ(drives.Surroundings(), before) << "something outside drives 1 and 2 changed";
}

INSTANTIATE_TEST_SUITE_P(E2EFiles, FilesFixture, ::testing::ValuesIn(fixture_names()),
                         [](const ::testing::TestParamInfo<std::string>& testInfo) { return testInfo.param; });

}  // namespace
