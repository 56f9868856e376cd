// The driver's own behaviour: arguments, the prepared list, exit statuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "tests/TestPaths.h"
#include "tests/e2e/HeadlessProcess.h"
#include "tools/headless/HeadlessOptions.h"
#include "tools/headless/HeadlessRun.h"

namespace {

TEST(HeadlessOptions, Accepted)
{
    THeadlessOptions o;
    std::string error;
    ASSERT_TRUE(parse_headless_options({"--drive", "2=/tmp", "--keys", "A\\r\\x41\\\\\\e", "--mode", "dos", "--timeout",
                                        "0.5", "--page", "p.png", "--midi-log", "m.log", "--no-fusion",
                                        "--memory-limit", "64", "prog.bas"},
                                       o, error))
        << error;
    EXPECT_EQ(o.Drives.at(2), "/tmp");
    EXPECT_EQ(o.Keys, "A\rA\\\x1b");
    EXPECT_EQ(o.CompatModePref, 3);
    EXPECT_EQ(o.TimeoutSeconds, 0.5);
    EXPECT_EQ(*o.PagePng, "p.png");
    EXPECT_EQ(*o.MidiLog, "m.log");
    EXPECT_FALSE(o.Fusion);
    EXPECT_EQ(o.MemoryLimit, size_t{64} << 20);
    EXPECT_EQ(o.ListPath, "prog.bas");
}

TEST(HeadlessOptions, SimulatedClockAndLocalTime)
{
    THeadlessOptions o;
    std::string error;
    EXPECT_FALSE(o.SimulatedClock);
    ASSERT_TRUE(
        parse_headless_options({"--clock", "simulated", "--local-time", "2028-02-29T23:59:58", "p.bas"}, o, error))
        << error;
    EXPECT_TRUE(o.SimulatedClock);
    ASSERT_TRUE(o.LocalTime);
    EXPECT_EQ(o.LocalTime->tm_year, 128);
    EXPECT_EQ(o.LocalTime->tm_mon, 1);
    EXPECT_EQ(o.LocalTime->tm_mday, 29);
    EXPECT_EQ(o.LocalTime->tm_hour, 23);
    EXPECT_EQ(o.LocalTime->tm_min, 59);
    EXPECT_EQ(o.LocalTime->tm_sec, 58);
    THeadlessOptions real;
    ASSERT_TRUE(parse_headless_options({"--clock", "real", "p.bas"}, real, error)) << error;
    EXPECT_FALSE(real.SimulatedClock);
    EXPECT_TRUE(real.Fusion) << "the fast paths are on unless --no-fusion is given";
}

TEST(HeadlessOptions, Rejected)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"a.bas", "b.bas"},
        {"--drive", "15=/tmp", "a.bas"},
        {"--drive", "0=/tmp", "a.bas"},
        {"--drive", "1", "a.bas"},
        {"--drive", "x=/tmp", "a.bas"},
        {"--keys", "\\q", "a.bas"},
        {"--keys", "\\x4", "a.bas"},
        {"--keys", "abc\\", "a.bas"},
        {"--mode", "zaro", "a.bas"},
        {"--timeout", "-1", "a.bas"},
        {"--timeout", "1s", "a.bas"},
        {"--timeout", "nan", "a.bas"},
        {"--color", "a.bas"},
        {"a.bas", "--timeout"},
        {"--clock", "manual", "a.bas"},
        {"--clock", "simulated", "--local-time", "2026-02-29T00:00:00", "a.bas"},
        {"--clock", "simulated", "--local-time", "2026-03-08 09:05:00", "a.bas"},
        {"--clock", "simulated", "--local-time", "2026-03-08T24:00:00", "a.bas"},
        {"--clock", "simulated", "--local-time", "2026-3-8T09:05:00", "a.bas"},
        {"--local-time", "2026-03-08T09:05:00", "a.bas"},  // without the simulated clock
        {"--keys", "\\w", "a.bas"},
        {"--keys", "\\w100", "a.bas"},
        {"--keys", "\\w{}", "a.bas"},
        {"--keys", "\\w{-5}", "a.bas"},
        {"--keys", "\\w{1x}", "a.bas"},
        {"--keys", "\\w{100", "a.bas"},
        {"--keys", "\\w{86400001}", "a.bas"},
        {"--memory-limit", "0", "a.bas"},
        {"--memory-limit", "1025", "a.bas"},
        {"--memory-limit", "64M", "a.bas"},
        {"--memory-limit", "-5", "a.bas"},
    };
    for (const auto& args : cases) {
        THeadlessOptions o;
        std::string error;
        EXPECT_FALSE(parse_headless_options(args, o, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(HeadlessOptions, HoldEscapeKeepsItsMilliseconds)
{
    std::string keys, error;
    ASSERT_TRUE(unescape_keys("\\w{0}a\\w{250}\\F2", keys, error)) << error;
    EXPECT_EQ(keys, std::string("\0w0;a\0w250;\0\x02", 13));
}

// --help prints the usage, which tells of every option and escape, and runs nothing.
TEST(HeadlessDriver, HelpPrintsTheUsage)
{
    const THeadlessOutcome outcome = run_headless_process({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, headless_usage());
    EXPECT_EQ(outcome.err, "");
    for (const char* word : {"--keys", "\\w{MS}", "--clock", "--help", "--timeout", "--memory-limit"})
        EXPECT_NE(outcome.out.find(word), std::string::npos) << word;
}

TEST(HeadlessDriver, BadArgumentsAndUnreadableLists)
{
    EXPECT_EQ(run_headless_process({}).status, 4);
    const THeadlessOutcome missing = run_headless_process({"/nonexistent/list.bas"});
    EXPECT_EQ(missing.status, 4);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    EXPECT_EQ(
        run_headless_process({"--drive", "2=/nonexistent/folder", test_paths::E2eFixtureDir() + "/empty_program.bas"})
            .status,
        4);
}

// --page writes the displayed page as a 640 by 400 PNG (signature and header checked).
TEST(HeadlessDriver, PageIsWrittenAsPng)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "kivo-e2e-page";
    fs::create_directories(dir);
    const fs::path list = dir / "box.bas";
    std::ofstream(list) << "10 LINE (0,0)-(99,49),2,BF\n";
    const fs::path png = dir / "page.png";
    const THeadlessOutcome outcome = run_headless_process({"--page", png.string(), list.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::ifstream in(png, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    auto be32 = [&](size_t at) {
        return (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24) |
               (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16) |
               (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 640u);
    EXPECT_EQ(be32(20), 400u);

    // A page that cannot be written is reported, and the run counts as failed.
    const THeadlessOutcome bad = run_headless_process({"--page", (dir / "missing" / "p.png").string(), list.string()});
    EXPECT_EQ(bad.status, 4);
    EXPECT_NE(bad.err.find("cannot write the page"), std::string::npos);
    fs::remove_all(dir);
}

// On the real clock the stamps of one piece of music are still exact relative to one
// another: the player schedules by computation from its wake-up, not by reading the
// clock at each note (tempo 120: 108 microseconds a tick, a quarter note 4608 ticks,
// sounding 7/8 of it).
TEST(HeadlessDriver, RealClockStampsKeepTheirDistances)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("kivo-e2e-midi-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path list = dir / "cde.bas";
    std::ofstream(list) << "10 PLAY \"CDE\"\n";
    const fs::path log = dir / "midi.log";
    const THeadlessOutcome outcome = run_headless_process({"--midi-log", log.string(), list.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::ifstream in(log);
    std::vector<std::pair<int64_t, std::string>> notes;
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        if (line.find("note-") != std::string::npos)
            notes.emplace_back(std::stoll(line.substr(0, space)), line.substr(space + 1));
    }
    fs::remove_all(dir);
    ASSERT_EQ(notes.size(), 6u);
    const char* expected[] = {"note-on 1 72 64",  "note-off 1 72 64", "note-on 1 74 64",
                              "note-off 1 74 64", "note-on 1 76 64",  "note-off 1 76 64"};
    for (size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].second, expected[i]);
        EXPECT_EQ(notes[i].first - notes[0].first, static_cast<int64_t>(i / 2) * 4608 * 108 + (i % 2) * 4032 * 108)
            << i;
    }
}

TEST(HeadlessDriver, EmptyListIsAnErrorNotACrash)
{
    const std::filesystem::path list = std::filesystem::temp_directory_path() / "kivo-e2e-empty.bas";
    std::ofstream(list).close();
    const THeadlessOutcome outcome = run_headless_process({list.string()});
    std::filesystem::remove(list);
    // An empty text compiles without an error message but gives no program: the
    // driver reports the failed compile and shows an empty screen.
    EXPECT_EQ(outcome.status, HEADLESS_COMPILE_ERROR) << outcome.err;
    EXPECT_NE(outcome.err.find("the list holds no program"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

}  // namespace
