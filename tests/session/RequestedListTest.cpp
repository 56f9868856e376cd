// The list a run request that names a file leaves in the editor: opened or
// merged, drive 1 following an opened list, and lists that cannot be loaded.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "listfiles/ListLoader.h"
#include "session/RequestedList.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class RequestedList : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(mDir / name, std::ios::binary) << bytes;
        return (mDir / name).string();
    }
    TTempFolder mFolder{"kivo-requested"};
    const fs::path mDir = mFolder.Path();
};

TEST_F(RequestedList, OpenReplacesTheListAndDriveOneFollowsIt)
{
    const std::string path = Write("NEXT.BAS", "10 PRINT 2\r\n\x1A");
    const TRequestedList loaded = load_requested_list(path, false, "10 PRINT 1\n", LIST_ENCODING_AUTO_DETECT, true);
    ASSERT_TRUE(loaded.Loaded) << loaded.Alert;
    EXPECT_EQ(loaded.Text, "10 PRINT 2\n");
    ASSERT_TRUE(loaded.Drive1Folder);
    EXPECT_EQ(fs::path(*loaded.Drive1Folder), mDir);
}

TEST_F(RequestedList, MergeAppendsOnALineOfItsOwn)
{
    // Saved lists end without a line feed: CHAIN MERGE of such a list must not
    // join its last line to the merged list's first.
    const std::string path = Write("SUB.BAS", "500 PRINT \x1BK\x34\x41\x1BH\n");
    struct Case {
        std::string list;
        std::string merged;
    };
    const Case cases[] = {
        {"10 END", "10 END\n500 PRINT \u6F22\n"},
        {"10 END\n", "10 END\n500 PRINT \u6F22\n"},
        {"", "500 PRINT \u6F22\n"},
    };
    for (const Case& c : cases) {
        const TRequestedList loaded = load_requested_list(path, true, c.list, LIST_ENCODING_AUTO_DETECT, true);
        ASSERT_TRUE(loaded.Loaded) << loaded.Alert;
        EXPECT_EQ(loaded.Text, c.merged) << c.list;
        EXPECT_FALSE(loaded.Drive1Folder);
    }
}

// A merged list's byte-order mark belongs to its own file: in the middle of the
// editor's list it would stand before the first merged line's number.
TEST_F(RequestedList, AMergedListLeavesItsByteOrderMarkOut)
{
    const std::string path = Write("SUB.BAS", "\xEF\xBB\xBF"
                                              "500 PRINT 5\n");
    struct Case {
        std::string list;
        std::string merged;
    };
    const Case cases[] = {
        {"10 END", "10 END\n500 PRINT 5\n"},
        {"\xEF\xBB\xBF"
         "10 END\n",
         "\xEF\xBB\xBF"
         "10 END\n500 PRINT 5\n"},
        {"", "500 PRINT 5\n"},
    };
    for (const Case& c : cases) {
        const TRequestedList loaded = load_requested_list(path, true, c.list, LIST_ENCODING_UTF8, true);
        ASSERT_TRUE(loaded.Loaded) << loaded.Alert;
        EXPECT_EQ(loaded.Text, c.merged) << c.list;
    }
    // Opened, the list keeps its mark.
    EXPECT_EQ(load_requested_list(path, false, "10 END", LIST_ENCODING_UTF8, true).Text, "\xEF\xBB\xBF"
                                                                                         "500 PRINT 5\n");
}

TEST_F(RequestedList, DefaultEncodingAndNoteApply)
{
    const std::string path = Write("PC98.BAS", "10 ' \x1BK\x2D\x21\x1BH\n");
    const TRequestedList asJis = load_requested_list(path, false, "", LIST_ENCODING_JIS, true);
    EXPECT_EQ(asJis.Text, "10 ' \uFF11\n");
    EXPECT_EQ(asJis.Note, "Converted PC-98 peculiar 1 characters to standbies.");
    const TRequestedList asUtf8 = load_requested_list(path, false, "", LIST_ENCODING_UTF8, true);
    EXPECT_EQ(asUtf8.Text, "10 ' \x1BK\x2D\x21\x1BH\n");
    EXPECT_EQ(asUtf8.Note, "");
}

TEST_F(RequestedList, UnloadableListsLeaveNothing)
{
    fs::create_directories(mDir / "FOLDER.BAS");
    const std::string bad = Write("BAD.BAS", "\xFE\x04\x01\x0A\x0B\x1A");  // a record running past the file
    struct Case {
        std::string path;
        std::string alert;
    };
    const Case cases[] = {
        {(mDir / "NONE.BAS").string(), "The list " + (mDir / "NONE.BAS").string() + " cannot be loaded."},
        {(mDir / "FOLDER.BAS").string(), "The list " + (mDir / "FOLDER.BAS").string() + " cannot be loaded."},
        {bad, "This binary-saved list cannot be read."},
    };
    for (const Case& c : cases) {
        for (const bool merge : {false, true}) {
            const TRequestedList loaded =
                load_requested_list(c.path, merge, "10 END\n", LIST_ENCODING_AUTO_DETECT, true);
            EXPECT_FALSE(loaded.Loaded) << c.path;
            EXPECT_EQ(loaded.Alert, c.alert);
            EXPECT_EQ(loaded.Text, "");
            EXPECT_FALSE(loaded.Drive1Folder);
        }
    }
}

}  // namespace
