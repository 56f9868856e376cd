// Every program under tests/e2e/fixtures/ runs through kivo-headless, and what it
// shows is compared with the files beside it:
//   NAME.bas     the program list
//   NAME.list    instead of NAME.bas: the name of the fixture whose list this one runs
//                (the same list with other .args, such as the other mode)
//   NAME.screen  the text screen after the run, as the driver prints it
//   NAME.status  the exit status, when it is not 0
//   NAME.args    more arguments for the driver, one a line (before the list)
//   NAME.stderr  lines that must each appear among the alerts
//   NAME.midi    the MIDI log the run must write (--midi-log), line for line; such a
//                fixture names --clock simulated in its .args, so the stamps are exact
// Fixtures named in PENDING wait for statements the compiler does not compile yet.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <unistd.h>

#include "tests/TestPaths.h"
#include "tests/e2e/FixtureText.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;

const fs::path FIXTURES = test_paths::E2eFixtureDir();

std::set<std::string> pending()
{
    std::string text;
    read_file(FIXTURES / "PENDING", text);
    std::set<std::string> names;
    for (const std::string& line : lines_of(text)) {
        if (line[0] != '#') names.insert(line);
    }
    return names;
}

std::vector<std::string> fixture_names()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FIXTURES)) {
        if (is_fixture_start(entry.path())) names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Fixture : public ::testing::TestWithParam<std::string> {};

TEST_P(Fixture, ShowsTheExpectedScreen)
{
    const std::string name = GetParam();
    if (pending().count(name) != 0) GTEST_SKIP() << name << " waits for the compiler's statements";
    const fs::path base = FIXTURES / name;

    std::string expectedScreen;
    ASSERT_TRUE(read_file(base.string() + ".screen", expectedScreen)) << "missing " << name << ".screen";
    std::string text;
    int expectedStatus = 0;
    if (read_file(base.string() + ".status", text)) expectedStatus = std::stoi(text);
    std::vector<std::string> args;
    if (read_file(base.string() + ".args", text)) args = lines_of(text);
    std::string expectedMidi;
    const bool checksMidi = read_file(base.string() + ".midi", expectedMidi);
    const fs::path midiLog =
        fs::temp_directory_path() / ("kivo-e2e-" + name + "-" + std::to_string(getpid()) + ".midi");
    if (checksMidi) {
        args.push_back("--midi-log");
        args.push_back(midiLog.string());
    }
    args.push_back(fixture_list(base).string());

    const THeadlessOutcome outcome = run_headless_process(args);
    if (checksMidi) {
        std::string midi;
        EXPECT_TRUE(read_file(midiLog, midi)) << "no MIDI log written";
        std::error_code ignored;
        fs::remove(midiLog, ignored);
        EXPECT_EQ(midi, expectedMidi);
    }
    EXPECT_EQ(outcome.status, expectedStatus) << outcome.err;
    EXPECT_EQ(outcome.out, expectedScreen);
    if (read_file(base.string() + ".stderr", text)) {
        for (const std::string& line : lines_of(text)) EXPECT_NE(outcome.err.find(line), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(E2E, Fixture, ::testing::ValuesIn(fixture_names()),
                         [](const ::testing::TestParamInfo<std::string>& testInfo) { return testInfo.param; });

}  // namespace
