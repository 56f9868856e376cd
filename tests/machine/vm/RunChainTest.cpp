// RUN, RUN with a file name and CHAIN: the run requests they send, the end of the run
// they cause, and their errors.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "foundation/Common.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/TempFolder.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

namespace fs = std::filesystem;

class RunChain : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        ASSERT_TRUE(rsrc.DrvFolders.Set(1, folder));  // drive 2
        std::ofstream(folder + "/SUB.BAS") << "10 PRINT 1\n";
    }
    void TearDown() override
    {
        gExitStates.RepeatRun = false;
        gAppPrivacy.Quitting = false;
        ProgramFixture::TearDown();
    }

    // Runs `statement` in line 10, followed by an assignment that must not run.
    std::vector<TRunRequest> Run(TProgram& p, const std::function<void()>& statement, long status = 0)
    {
        TVarInfo* after = p.Var("AFTER%", tkInt);
        p.code.Line(10);
        statement();
        p.AssignInt(after, {}, 1);
        EXPECT_EQ(p.Run(), status) << p.error;
        EXPECT_EQ(after->IntValues()[0], 0) << "the run ends at the statement";
        return p.requests.Requests();
    }
    static void Chain(TProgram& p, bool merge, const std::string& file, const std::function<void()>& rest,
                      int32_t count)
    {
        p.code.Add(MakeCode(vcBPushBool, merge)).Text(file);
        rest();
        p.code.Add(MakeCode(vcChain, count));
    }

    TTempFolder temp{"kivo-runchain"};
    const std::string folder = temp.Path().string();
};

TEST_F(RunChain, RunSendsItsTarget)
{
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] { p.code.Add(MakeCode(vcRunCur, false)); });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_FALSE(requests[0].LineNum || requests[0].Label || requests[0].FileName);
        EXPECT_FALSE(requests[0].NotFore);
    }
    {
        TProgram p(rsrc);
        // A line that does not exist is the new run's business.
        const auto requests = Run(p, [&] { p.code.Int(999).Add(MakeCode(vcRunCur, true)); });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].LineNum, 999);
    }
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] { p.code.Double(199.5).Add(MakeCode(vcRunCur, true)); });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].LineNum, 200);
    }
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] { p.code.Text("*START").Add(MakeCode(vcRunCur, true)); });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].Label, "*START");
        EXPECT_FALSE(requests[0].LineNum);
    }
}

TEST_F(RunChain, RunWithAFileNameSendsItsHostPath)
{
    for (const bool r : {false, true}) {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] { p.code.Text("2:SUB.BAS").Add(MakeCode(vcRunSpecify, r)); });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].FileName, folder + "/SUB.BAS");
        EXPECT_EQ(requests[0].ROpt, r);
        EXPECT_FALSE(requests[0].Merge);
    }
}

TEST_F(RunChain, ChainSendsFileTargetAndMerge)
{
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] {
            Chain(
                p, false, "2:SUB.BAS", [] {}, 2);
        });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].FileName, folder + "/SUB.BAS");
        EXPECT_FALSE(requests[0].Merge);
        EXPECT_FALSE(requests[0].LineNum);
    }
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] {
            Chain(
                p, true, "2:SUB.BAS", [&] { p.code.Int(500).Add(MakeCode(vcBPushBool, true)); }, 4);
        });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_TRUE(requests[0].Merge);
        EXPECT_EQ(requests[0].LineNum, 500);
        EXPECT_EQ(p.stackDepth, 0u) << "the ALL flag leaves no trace";
    }
    {
        TProgram p(rsrc);
        const auto requests = Run(p, [&] {
            Chain(
                p, false, "2:SUB.BAS", [&] { p.code.Text("*GO"); }, 3);
        });
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].Label, "*GO");
    }
}

TEST_F(RunChain, FileErrors)
{
    struct Case {
        const char* name;
        std::function<void(TProgram&)> statement;
        const char* key;
    };
    const Case cases[] = {
        {"RUN with an empty name", [](TProgram& p) { p.code.Text("").Add(MakeCode(vcRunSpecify, false)); },
         RTE_FILE_NOT_FOUND},
        {"RUN of a missing file", [](TProgram& p) { p.code.Text("2:NEXT.BAS").Add(MakeCode(vcRunSpecify, true)); },
         RTE_FILE_NOT_FOUND},
        {"CHAIN of a missing file",
         [](TProgram& p) {
             Chain(
                 p, false, "2:NEXT.BAS", [] {}, 2);
         },
         RTE_FILE_NOT_FOUND},
        {"CHAIN with an empty name",
         [](TProgram& p) {
             Chain(
                 p, false, "", [] {}, 2);
         },
         RTE_FILE_NOT_FOUND},
        {"RUN of a name that leaves the folder",
         [](TProgram& p) { p.code.Text("2:../SUB.BAS").Add(MakeCode(vcRunSpecify, false)); }, RTE_FILE_NOT_FOUND},
        {"RUN on an offline drive", [](TProgram& p) { p.code.Text("5:A.BAS").Add(MakeCode(vcRunSpecify, false)); },
         RTE_DISK_OFFLINE},
        {"CHAIN on drive 15",
         [](TProgram& p) {
             Chain(
                 p, false, "15:A.BAS", [] {}, 2);
         },
         RTE_BAD_DRIVE_NUMBER},
    };
    for (const Case& c : cases) {
        TProgram p(rsrc);
        const auto requests = Run(
            p, [&] { c.statement(p); }, 1);
        EXPECT_TRUE(requests.empty()) << c.name;
        EXPECT_TRUE(p.EndedWith(c.key)) << c.name << ": " << p.error;
    }
}

TEST_F(RunChain, RepeatModeAddsNoSecondRequest)
{
    gExitStates.RepeatRun = true;
    TProgram p(rsrc);
    const auto requests = Run(p, [&] { p.code.Int(20).Add(MakeCode(vcRunCur, true)); });
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].LineNum, 20);
    EXPECT_FALSE(requests[0].NotFore);
}

TEST_F(RunChain, WhileQuittingNothingIsSentOrPopped)
{
    gAppPrivacy.Quitting = true;
    TProgram p(rsrc);
    const auto requests = Run(p, [&] {
        Chain(
            p, false, "2:SUB.BAS", [] {}, 2);
    });
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(p.stackDepth, 2u);
}

}  // namespace
