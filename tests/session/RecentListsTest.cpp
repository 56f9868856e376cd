// The recent lists: their order in the menu and in the file, the maximum, and
// changes that are written at once, Delete All included.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "session/OpenRequest.h"
#include "session/RecentLists.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class RecentLists : public testing::Test {
protected:
    static std::vector<std::string> MenuNames(const TRecentLists& lists)
    {
        std::vector<std::string> names;
        for (const TMRUF::MenuItem& item : lists.List().MenuItems()) names.push_back(item.fileName + ":" + item.key);
        return names;
    }
    std::vector<std::string> FileEntries() const
    {
        TMRUF stored;
        EXPECT_EQ(stored.Load(mFile), 0);
        std::vector<std::string> entries;
        platform::Message archive;
        stored.Archive(&archive, true);
        std::string entry;
        for (int32_t i = 0; archive.FindString("MRUF", i, &entry) == platform::kOk; ++i) entries.push_back(entry);
        return entries;
    }

    TTempFolder mFolder{"kivo-recent"};
    const fs::path mDir = mFolder.Path();
    const std::string mFile = (mDir / "KivoBASIC_MRUF.arc").string();
};

TEST_F(RecentLists, NewestFirstInTheMenuOldestFirstInTheFile)
{
    TRecentLists lists(mFile);
    for (const char* path : {"/l/A.bas", "/l/B.bas", "/l/C.bas"}) lists.Add(path);
    EXPECT_EQ(MenuNames(lists), (std::vector<std::string>{"C.bas:0", "B.bas:1", "A.bas:2"}));
    EXPECT_EQ(FileEntries(), (std::vector<std::string>{"/l/A.bas", "/l/B.bas", "/l/C.bas"}));
    lists.Add("/l/A.bas");
    EXPECT_EQ(MenuNames(lists), (std::vector<std::string>{"A.bas:0", "C.bas:1", "B.bas:2"}));
    EXPECT_EQ(lists.List().MenuItems().front().shortcut, '0');

    TRecentLists restarted(mFile);
    EXPECT_EQ(MenuNames(restarted), MenuNames(lists));
}

TEST_F(RecentLists, AnEleventhPathDropsTheOldest)
{
    TRecentLists lists(mFile);
    for (int i = 0; i < 11; ++i) lists.Add("/l/" + std::to_string(i) + ".bas");
    ASSERT_EQ(lists.List().CountMRUFs(), 10);
    EXPECT_EQ(lists.List().FindMRUF("/l/0.bas"), -1);
    EXPECT_EQ(std::string(lists.List().MRUFAt(0)), "/l/10.bas");
}

TEST_F(RecentLists, RemovingAndDeletingAllLastAfterARestart)
{
    {
        TRecentLists lists(mFile);
        lists.Add("/l/A.bas");
        lists.Add("/l/B.bas");
        lists.Remove("/l/A.bas");
        lists.Remove("/l/never.bas");
    }
    {
        TRecentLists lists(mFile);
        EXPECT_EQ(MenuNames(lists), (std::vector<std::string>{"B.bas:0"}));
        lists.ClearAll();
    }
    TRecentLists restarted(mFile);
    EXPECT_EQ(restarted.List().CountMRUFs(), 0);
}

TEST_F(RecentLists, ACorruptFileIsIgnored)
{
    std::ofstream(mFile, std::ios::binary) << "not a settings file";
    TRecentLists lists(mFile);
    EXPECT_EQ(lists.List().CountMRUFs(), 0);
    lists.Add("/l/A.bas");
    TRecentLists restarted(mFile);
    EXPECT_EQ(restarted.List().CountMRUFs(), 1);
}

TEST_F(RecentLists, OnlyTheirItemsAskToDeleteTheEntryWhenCtrlIsHeld)
{
    TRecentLists lists(mFile);
    lists.Add("/l/A.bas");
    lists.Add("/l/B.bas");
    for (const TMRUF::MenuItem& item : lists.List().MenuItems()) {
        EXPECT_EQ(choose_open_action(item.message, {true, false}), TOpenAction::AskRemoveRecent) << item.fileName;
        EXPECT_EQ(choose_open_action(item.message, {}), TOpenAction::Open) << item.fileName;
    }
    EXPECT_EQ(open_request_path(lists.List().MenuItems().front().message), "/l/B.bas");
}

}  // namespace
