// The backup file of each running instance: its own slot while it runs, the offer of
// a backup left by an instance that was killed, in its own slot or another, the
// declined backup set aside, and the period of the automatic save.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session/AutoBackup.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class AutoBackup : public testing::Test {
protected:
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    TTempFolder mFolder{"kivo-backup"};
    const fs::path mDir = mFolder.Path();
};

TEST_F(AutoBackup, InstancesRunningAtOnceHaveTheirOwnBackups)
{
    const auto first = TBackupSlot::Claim(mDir.string());
    const auto second = TBackupSlot::Claim(mDir.string());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->BackupPath(), (mDir / "AutoSave.bas").string());
    EXPECT_EQ(second->BackupPath(), (mDir / "AutoSave-2.bas").string());
    // The first one's live backup is not offered to the second.
    Write(first->BackupPath(), "10 FIRST");
    EXPECT_FALSE(second->HasBackup());
}

TEST_F(AutoBackup, ABackupLeftByAKilledInstanceIsOfferedAtTheNextStart)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto slot = TBackupSlot::Claim(mDir.string());
        if (slot) Write(slot->BackupPath(), "10 PRINT \"saved\"");
        const char byte = slot ? 'y' : 'n';
        (void)!::write(ready[1], &byte, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(byte, 'y');

    {
        // While that instance runs, its backup is not offered.
        const auto meanwhile = TBackupSlot::Claim(mDir.string());
        ASSERT_TRUE(meanwhile);
        EXPECT_EQ(meanwhile->BackupPath(), (mDir / "AutoSave-2.bas").string());
        EXPECT_FALSE(meanwhile->HasBackup());
    }

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const auto next = TBackupSlot::Claim(mDir.string());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->BackupPath(), (mDir / "AutoSave.bas").string());
    EXPECT_TRUE(next->HasBackup());
    EXPECT_EQ(Read(next->BackupPath()), "10 PRINT \"saved\"");
}

TEST_F(AutoBackup, TheBackupsOfOtherFreeSlotsAreLeftOvers)
{
    const auto own = TBackupSlot::Claim(mDir.string());
    const auto running = TBackupSlot::Claim(mDir.string());
    ASSERT_TRUE(own && running);
    Write(own->BackupPath(), "10 OWN");
    Write(running->BackupPath(), "10 RUNNING");
    Write((mDir / "AutoSave-3.bas").string(), "10 LEFT 3");
    Write((mDir / "AutoSave-5.bas").string(), "10 LEFT 5");

    std::vector<std::unique_ptr<TBackupSlot>> leftOvers = TBackupSlot::ClaimLeftOvers(mDir.string());
    std::vector<std::string> paths;
    for (const auto& slot : leftOvers) paths.push_back(slot->BackupPath());
    EXPECT_EQ(paths,
              (std::vector<std::string>{(mDir / "AutoSave-3.bas").string(), (mDir / "AutoSave-5.bas").string()}));
    {
        // Held while offered: an instance starting meanwhile takes the free slot 4.
        const auto meanwhile = TBackupSlot::Claim(mDir.string());
        ASSERT_TRUE(meanwhile);
        EXPECT_EQ(meanwhile->BackupPath(), (mDir / "AutoSave-4.bas").string());
        EXPECT_TRUE(TBackupSlot::ClaimLeftOvers(mDir.string()).empty());
    }
    ASSERT_EQ(leftOvers.size(), 2u);

    // A restored one becomes the own backup; an own backup is never replaced.
    EXPECT_FALSE(leftOvers[0]->MoveBackupTo(*own));
    EXPECT_EQ(Read(own->BackupPath()), "10 OWN");
    own->Remove();
    ASSERT_TRUE(leftOvers[0]->MoveBackupTo(*own));
    EXPECT_EQ(Read(own->BackupPath()), "10 LEFT 3");
    EXPECT_FALSE(leftOvers[0]->HasBackup());

    // Released, the one not restored is offered again at a later start.
    leftOvers.clear();
    leftOvers = TBackupSlot::ClaimLeftOvers(mDir.string());
    ASSERT_EQ(leftOvers.size(), 1u);
    EXPECT_EQ(leftOvers[0]->BackupPath(), (mDir / "AutoSave-5.bas").string());
    EXPECT_TRUE(TBackupSlot::ClaimLeftOvers("").empty());
}

TEST_F(AutoBackup, ADeclinedBackupIsSetAsideNotLost)
{
    const auto slot = TBackupSlot::Claim(mDir.string());
    ASSERT_TRUE(slot);
    std::string asides[2];
    for (std::string& aside : asides) {
        Write(slot->BackupPath(), "10 WORK");
        aside = slot->SetAside();
        ASSERT_FALSE(aside.empty());
        EXPECT_FALSE(slot->HasBackup());
        EXPECT_EQ(Read(aside), "10 WORK");
        EXPECT_NE(fs::path(aside).filename().string().find("AutoSave-declined-"), std::string::npos);
    }
    // Two declines within one second keep both copies.
    EXPECT_NE(asides[0], asides[1]);
}

TEST_F(AutoBackup, TheNormalEndRemovesTheBackupAndFreesTheSlot)
{
    {
        const auto slot = TBackupSlot::Claim(mDir.string());
        ASSERT_TRUE(slot);
        Write(slot->BackupPath(), "10 END");
        slot->Remove();
    }
    const auto again = TBackupSlot::Claim(mDir.string());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->BackupPath(), (mDir / "AutoSave.bas").string());
    EXPECT_FALSE(again->HasBackup());
}

TEST_F(AutoBackup, NoFolderNoSlot)
{
    EXPECT_EQ(TBackupSlot::Claim(""), nullptr);
    EXPECT_EQ(TBackupSlot::Claim((mDir / "none").string()), nullptr);
}

TEST(AutoSavePeriod, IsTheMinutesClampedToOneToNinetyNine)
{
    const std::pair<int32_t, int32_t> cases[] = {{0, 60000},    {-3, 60000},   {1, 60000},    {5, 300000},
                                                 {36, 2160000}, {72, 4320000}, {99, 5940000}, {1000, 5940000}};
    for (const auto& [minutes, period] : cases) EXPECT_EQ(auto_save_period_ms(minutes), period) << minutes;
}

}  // namespace
