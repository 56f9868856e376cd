// kivo-headless follows RUN "file" and CHAIN as the editor does: the named list is
// loaded and run; what goes wrong in the next run belongs to that run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;

class RunRequestFollow : public testing::Test {
protected:
    void SetUp() override
    {
        mDrive = fs::temp_directory_path() / ("kivo-e2e-follow-" + std::to_string(getpid()));
        fs::create_directories(mDrive);
    }
    void TearDown() override { fs::remove_all(mDrive); }
    void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(mDrive / name, std::ios::binary) << text;
    }
    THeadlessOutcome Run(const std::string& name, const std::string& timeout = "10")
    {
        return run_headless_process(
            {"--drive", "1=" + mDrive.string(), "--timeout", timeout, (mDrive / name).string()});
    }
    fs::path mDrive;
};

// A list that runs itself again never ends by itself; the one time-out of the
// whole chain stops it, by its file name or by RUN alone.
TEST_F(RunRequestFollow, ListThatRunsItselfEndsAtTheTimeout)
{
    for (const char* list : {"10 RUN \"SELF.BAS\"\n", "10 RUN\n", "10 RUN 10\n"}) {
        Write("SELF.BAS", list);
        const THeadlessOutcome outcome = Run("SELF.BAS", "1");
        EXPECT_EQ(outcome.status, 3) << list;
        EXPECT_NE(outcome.out.find("Ok\nOk\n"), std::string::npos) << list << outcome.out;
    }
}

// The errors of the next run are its own: a compile error of the loaded list, a
// start line it does not have, a run-time error in it.
TEST_F(RunRequestFollow, ErrorsOfTheNextRunEndTheChain)
{
    struct Case {
        const char* what;
        std::string next;
        std::string chain;
        int status;
        std::string screen;
    };
    const Case cases[] = {
        {"compile error", "10 PRINT (\n", "CHAIN \"NEXT.BAS\"", 2, "firstOk\n"},
        {"missing start line", "10 PRINT 2\n", "CHAIN \"NEXT.BAS\",99", 1, "firstOk\n"},
        {"RUN of a line the list lacks", "", "RUN 99", 1, "firstOk\n"},
        {"RUN of a label the list lacks", "", "RUN *NOWHERE", 1, "firstOk\n"},
        {"binary-saved list that cannot be read", "\xFE\x04\x01\x0A\x0B\x1A", "RUN \"NEXT.BAS\"", 1, "firstOk\n"},
        {"run-time error", "10 PRINT 1/0\n", "RUN \"NEXT.BAS\"", 1, "firstOk\nDivision by zero in 10\nOk\n"},
    };
    for (const Case& c : cases) {
        Write("NEXT.BAS", c.next);
        Write("FIRST.BAS", "10 PRINT \"first\";\n20 " + c.chain + "\n");
        const THeadlessOutcome outcome = Run("FIRST.BAS");
        EXPECT_EQ(outcome.status, c.status) << c.what << ": " << outcome.err;
        EXPECT_EQ(outcome.out, c.screen) << c.what;
    }
}

// The keys of --keys go into the first run's key buffer; those it leaves unread
// are emptied with the buffer before the next run, as the run window does, so the
// next run waits for its INPUT until the time-out.
TEST_F(RunRequestFollow, UnreadKeysDoNotReachTheNextRun)
{
    Write("NEXT.BAS", "10 INPUT A$:PRINT \"[\";A$;\"]\"\n");
    Write("FIRST.BAS", "10 RUN \"NEXT.BAS\"\n");
    const THeadlessOutcome outcome = run_headless_process(
        {"--drive", "1=" + mDrive.string(), "--timeout", "1", "--keys", "xyz\\r", (mDrive / "FIRST.BAS").string()});
    EXPECT_EQ(outcome.status, 3) << outcome.err;
    EXPECT_EQ(outcome.out.find("[xyz]"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.substr(0, 5), "Ok\n?\n") << outcome.out;
}

}  // namespace
