#include "foundation/MRUF.h"

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"

using platform::Message;

namespace {

std::vector<std::string> Paths(const TMRUF& list)
{
    std::vector<std::string> paths;
    for (int32_t i = 0; i < list.CountMRUFs(); ++i) paths.push_back(list.MRUFAt(i));
    return paths;
}

// Adds the paths in order, so the last one given ends first.
void AddAll(TMRUF* list, const std::vector<std::string>& paths)
{
    for (const auto& path : paths) list->AddMRUF(path);
}

std::vector<std::string> ArchivedPaths(const Message& archive)
{
    std::vector<std::string> paths;
    std::string path;
    for (int32_t i = 0; archive.FindString("MRUF", i, &path) == platform::kOk; ++i) paths.push_back(path);
    return paths;
}

using MRUFFiles = SettingsDirFixture;

}  // namespace

TEST(TMRUFTest, ReAddingMovesToTheFrontWithoutGrowing)
{
    TMRUF list;
    AddAll(&list, {"/a/one.bas", "/a/two.bas", "/a/three.bas"});
    list.AddMRUF("/a/one.bas");
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/a/one.bas", "/a/three.bas", "/a/two.bas"}));
}

TEST(TMRUFTest, TheOldestGoesWhenTheMaximumIsPassed)
{
    TMRUF list;
    std::vector<std::string> added;
    for (int i = 0; i < 11; ++i) added.push_back("/p/" + std::to_string(i));
    AddAll(&list, added);
    ASSERT_EQ(list.CountMRUFs(), 10);
    EXPECT_STREQ(list.MRUFAt(0), "/p/10");
    EXPECT_STREQ(list.MRUFAt(9), "/p/1");
    EXPECT_EQ(list.FindMRUF("/p/0"), -1);
}

TEST(TMRUFTest, TheMaximumIsClampedAndTrimsTheList)
{
    struct Case {
        int32_t asked;
        int32_t kept;
    };
    for (Case c : {Case{0, 1}, Case{-5, 1}, Case{1, 1}, Case{7, 7}, Case{20, 20}, Case{25, 20}}) {
        TMRUF list;
        list.SetMaxMRUF(TMRUF::kMaxLimit);
        std::vector<std::string> added;
        for (int i = 0; i < 22; ++i) added.push_back("/p/" + std::to_string(i));
        AddAll(&list, added);
        list.SetMaxMRUF(c.asked);
        EXPECT_EQ(list.MaxMRUF(), c.kept) << c.asked;
        ASSERT_EQ(list.CountMRUFs(), c.kept) << c.asked;
        EXPECT_STREQ(list.MRUFAt(0), "/p/21") << c.asked;
    }
}

TEST(TMRUFTest, PathsMatchOnlyByteForByte)
{
    TMRUF list;
    AddAll(&list, {"/d/A", "/d/a", "/d/a/"});
    EXPECT_EQ(list.CountMRUFs(), 3);
    EXPECT_EQ(list.FindMRUF("/d/A"), 2);
    EXPECT_EQ(list.FindMRUF("/d/a"), 1);
    EXPECT_EQ(list.FindMRUF("/d/a/"), 0);
    EXPECT_EQ(list.FindMRUF("/d/b"), -1);
}

TEST(TMRUFTest, RemovingHandsTheEntryBackAndRefusesWhatIsNotThere)
{
    TMRUF list;
    AddAll(&list, {"/c", "/b", "/a"});
    EXPECT_FALSE(list.RemoveMRUF(-1).has_value());
    EXPECT_FALSE(list.RemoveMRUF(list.CountMRUFs()).has_value());
    EXPECT_FALSE(list.RemoveMRUF(std::string("/none")).has_value());
    EXPECT_EQ(list.RemoveMRUF(1), std::optional<std::string>("/b"));
    EXPECT_EQ(list.RemoveMRUF(std::string("/c")), std::optional<std::string>("/c"));
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/a"}));
}

TEST(TMRUFTest, AnIndexOutsideTheListGivesNoPath)
{
    TMRUF list;
    EXPECT_EQ(list.MRUFAt(0), nullptr);
    list.AddMRUF("/x");
    for (int32_t index : {-1, 1, 100}) EXPECT_EQ(list.MRUFAt(index), nullptr) << index;
    EXPECT_STREQ(list.MRUFAt(0), "/x");
}

TEST(TMRUFTest, ArchivesOldestFirstAndReadsBackInOrder)
{
    TMRUF list;
    AddAll(&list, {"/C", "/B", "/A"});
    Message archive;
    ASSERT_EQ(list.Archive(&archive, true), 0);
    EXPECT_EQ(ArchivedPaths(archive), (std::vector<std::string>{"/C", "/B", "/A"}));

    TMRUF read;
    read.AddMRUF("/old");
    EXPECT_EQ(read.Unarchive(archive), 0);
    EXPECT_EQ(Paths(read), (std::vector<std::string>{"/A", "/B", "/C"}));
}

TEST(TMRUFTest, AnEmptyListArchivesNoEntries)
{
    TMRUF list;
    Message archive;
    ASSERT_EQ(list.Archive(&archive, true), 0);
    EXPECT_FALSE(archive.HasField("MRUF"));
}

TEST(TMRUFTest, ReadingKeepsTheMaximumAndTheLaterOfTwoEqualEntries)
{
    Message archive;
    for (const char* path : {"/1", "/2", "/3", "/2", "/4"}) archive.AddString("MRUF", path);
    TMRUF list;
    list.SetMaxMRUF(3);
    list.Unarchive(archive);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/4", "/2", "/3"}));
}

TEST(TMRUFTest, EntriesHoldingANulByteAreLeftOut)
{
    Message archive;
    archive.AddString("MRUF", std::string("/a\0x", 4));
    archive.AddString("MRUF", "/b");
    archive.AddString("MRUF", std::string("/a\0y", 4));
    TMRUF list;
    list.Unarchive(archive);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/b"}));
}

TEST(TMRUFTest, EntriesOfAnotherTypeReadAsAnEmptyList)
{
    Message archive;
    archive.AddInt32("MRUF", 7);
    TMRUF list;
    list.AddMRUF("/kept-until-read");
    EXPECT_EQ(list.Unarchive(archive), 0);
    EXPECT_EQ(list.CountMRUFs(), 0);
}

TEST(TMRUFTest, ItemKeysCountFromTheBaseAndOnlyDigitsGetShortcuts)
{
    TMRUF list;
    list.SetMaxMRUF(20);
    list.SetShowSC(true);
    for (int i = 19; i >= 0; --i) list.AddMRUF("/dir/file" + std::to_string(i) + ".bas");
    auto items = list.MenuItems();
    ASSERT_EQ(items.size(), 20u);
    const std::string keys = "0123456789ABCDEFGHIJ";
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].key, keys[i]);
        EXPECT_EQ(items[i].shortcut, i <= 9 ? keys[i] : 0);
        EXPECT_EQ(items[i].position, static_cast<int32_t>(i));
        EXPECT_EQ(items[i].fileName, "file" + std::to_string(i) + ".bas");
    }

    list.SetShowSC(false);
    list.SetTriggerBase(5);
    list.SetTgtBase(3);
    items = list.MenuItems();
    EXPECT_EQ(items[0].key, '5');
    EXPECT_EQ(items[5].key, 'A');
    EXPECT_EQ(items[0].shortcut, 0);
    EXPECT_EQ(items[0].position, 3);
}

TEST(TMRUFTest, ItemsCarryTheModelMessageAndTheirPath)
{
    TMRUF list;
    AddAll(&list, {"no-slash.bas", "/gone/folder/"});
    Message model(platform::fourcc("_RRC"));
    model.AddInt32("DrvFolderIdx", 1);
    list.SetMessage(model);
    auto items = list.MenuItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].fileName, "");
    EXPECT_EQ(items[1].fileName, "no-slash.bas");
    for (const auto& item : items) {
        EXPECT_EQ(item.message.what, platform::fourcc("_RRC"));
        uint32_t type = 0;
        int32_t count = 0;
        ASSERT_EQ(item.message.GetInfo("refs", &type, &count), platform::kOk);
        EXPECT_EQ(count, 1);
        int32_t drive = 0;
        EXPECT_EQ(item.message.FindInt32("DrvFolderIdx", &drive), platform::kOk);
        EXPECT_EQ(drive, 1);
    }
    platform::EntryRef ref;
    ASSERT_EQ(items[0].message.FindRef("refs", &ref), platform::kOk);
    EXPECT_EQ(ref.path, "/gone/folder/");
}

TEST_F(MRUFFiles, SavesAndLoadsThroughItsFile)
{
    const std::string file = (root / "recent.arc").string();
    TMRUF list;
    AddAll(&list, {"/C", "/B", "/A"});
    ASSERT_EQ(list.Save(file), 0);
    EXPECT_EQ(ArchivedPaths(ReadMessage(file)), (std::vector<std::string>{"/C", "/B", "/A"}));

    TMRUF loaded;
    ASSERT_EQ(loaded.Load(file), 0);
    EXPECT_EQ(Paths(loaded), (std::vector<std::string>{"/A", "/B", "/C"}));
}

TEST_F(MRUFFiles, ACorruptFileLeavesAnEmptyListAndIsRewrittenWhole)
{
    const std::string file = (root / "recent.arc").string();
    TMRUF good;
    AddAll(&good, {"/C", "/B", "/A"});
    ASSERT_EQ(good.Save(file), 0);
    const std::string whole = Contents(file);

    for (size_t cut : {size_t{0}, size_t{1}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << whole.substr(0, cut);
        TMRUF list;
        EXPECT_EQ(list.Load(file), -1);
        EXPECT_EQ(list.CountMRUFs(), 0);
        list.AddMRUF("/new");
        ASSERT_EQ(list.Save(file), 0);
        TMRUF again;
        ASSERT_EQ(again.Load(file), 0);
        EXPECT_EQ(Paths(again), (std::vector<std::string>{"/new"}));
    }
    std::string flipped = whole;
    flipped[flipped.size() / 2] ^= 0x5A;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << flipped;
    TMRUF list;
    EXPECT_EQ(list.Load(file), -1);
    EXPECT_EQ(list.CountMRUFs(), 0);
}
