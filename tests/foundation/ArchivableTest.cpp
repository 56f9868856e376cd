#include "foundation/Archivable.h"

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "foundation/TAVRENArchivable.h"
#include "foundation/TAVRENUtils.h"

using platform::Message;

namespace {

// A settings object with one number; its Archive can be made to fail.
class Counter : public TTAVRENArchivable {
public:
    int32_t value = 3;
    bool failArchive = false;

    platform::status_t Archive(Message* into, bool) const override
    {
        into->AddInt32("N", value);
        return failArchive ? platform::kError : platform::kOk;
    }
    int32_t Unarchive(const Message& archive) override { return FindInt32(archive, "N", &value); }
};

using ArchivableFiles = SettingsDirFixture;

}  // namespace

TEST(TArchivableTest, ArchiveEndsItsClassFieldWithTArchivable)
{
    TArchivable plain;
    Message archive;
    ASSERT_EQ(plain.Archive(&archive, true), 0);
    std::vector<std::string> classes;
    std::string name;
    for (int32_t i = 0; archive.FindString("class", i, &name) == platform::kOk; ++i) classes.push_back(name);
    EXPECT_EQ(classes, (std::vector<std::string>{"TArchivable", "TArchivable"}));

    std::unique_ptr<TArchivable> made(TArchivable::Instantiate(&archive));
    EXPECT_NE(made, nullptr);
    Message other;
    other.AddString("class", "TMRUF");
    EXPECT_EQ(TArchivable::Instantiate(&other), nullptr);
    EXPECT_EQ(TArchivable::Instantiate(nullptr), nullptr);
}

TEST(TArchivableTest, LookUpsWriteTheMemberOnlyWhenFound)
{
    TArchivable a;
    Message m;
    m.AddInt32("ASvI", 9);
    m.AddString("CoMO", "first");
    m.AddString("CoMO", "second");
    int32_t number = -1;
    EXPECT_EQ(a.FindInt32(m, "ASvI", &number), 0);
    EXPECT_EQ(number, 9);
    float real = 1.5f;
    EXPECT_NE(a.FindFloat(m, "ASvI", &real), 0);  // another type
    EXPECT_EQ(real, 1.5f);
    bool flag = true;
    EXPECT_NE(a.FindBool(m, "BrkS", &flag), 0);  // missing
    EXPECT_TRUE(flag);
    std::string text = "keep";
    EXPECT_NE(a.FindString(m, "CoMO", 2, &text), 0);  // beyond the last entry
    EXPECT_EQ(text, "keep");
    const char* raw = nullptr;
    EXPECT_EQ(a.FindString(m, "CoMO", 1, &raw), 0);
    EXPECT_STREQ(raw, "second");
}

TEST(TArchivableTest, RGBColorNeedsFourRawBytes)
{
    TArchivable a;
    Message m;
    const uint8_t full[5] = {10, 20, 30, 40, 50};
    const uint8_t shortData[3] = {1, 2, 3};
    m.AddData("full", platform::kRawType, full, 5);
    m.AddData("short", platform::kRawType, shortData, 3);
    m.AddData("other", platform::fourcc("RGBC"), full, 4);
    rgb_color colour{1, 1, 1, 1};
    EXPECT_EQ(a.FindRGBColor(m, "full", &colour), 0);
    EXPECT_EQ(colour, (rgb_color{10, 20, 30, 40}));
    rgb_color kept{7, 7, 7, 7};
    EXPECT_NE(a.FindRGBColor(m, "short", &kept), 0);
    EXPECT_NE(a.FindRGBColor(m, "other", &kept), 0);
    EXPECT_NE(a.FindRGBColor(m, "full", 1, &kept), 0);
    EXPECT_EQ(kept, (rgb_color{7, 7, 7, 7}));
    const void* data = nullptr;
    int32_t size = 0;
    EXPECT_EQ(a.FindData(m, "short", platform::kRawType, &data, &size), 0);
    EXPECT_EQ(size, 3);
}

TEST_F(ArchivableFiles, SettingsEntryCreatesTheFoldersAndRefusesEscapingNames)
{
    std::string entry;
    ASSERT_EQ(get_settings_entry("KivoBASIC", "AutoSave.bas", &entry), 0);
    EXPECT_EQ(entry, SettingsFile("KivoBASIC", "AutoSave.bas").string());
    EXPECT_TRUE(std::filesystem::is_directory(root / "TAVREN" / "KivoBASIC"));
    EXPECT_FALSE(std::filesystem::exists(entry));

    struct Case {
        const char* folder;
        const char* file;
    };
    const Case refused[] = {
        {"Shared", "../evil.arc"}, {"Shared", "a/b.arc"}, {"Shared", ".."}, {"Shared", "."},     {"Shared", ""},
        {"..", "x.arc"},           {"a/b", "x.arc"},      {nullptr, "x"},   {"Shared", nullptr},
    };
    for (const Case& c : refused) {
        std::string untouched = "untouched";
        EXPECT_EQ(get_settings_entry(c.folder, c.file, &untouched), -1)
            << (c.folder ? c.folder : "null") << " " << (c.file ? c.file : "null");
        EXPECT_EQ(untouched, "untouched");
    }
}

TEST_F(ArchivableFiles, NoSettingsDirectoryMeansNothingHappens)
{
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    const char* home = std::getenv("HOME");
    std::string savedHome = home ? home : "";
    ::unsetenv("HOME");
    std::string entry = "untouched";
    EXPECT_EQ(get_settings_entry("KivoBASIC", "x.arc", &entry), -1);
    EXPECT_EQ(entry, "untouched");
    Counter c;
    EXPECT_EQ(c.LoadByName("KivoBASIC", "x.arc"), -1);
    EXPECT_EQ(c.SaveByName("KivoBASIC", "x.arc"), -1);
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ArchivableFiles, SaveAndLoadByName)
{
    Counter saved;
    saved.value = 12;
    ASSERT_EQ(saved.SaveByName("KivoBASIC", "Counter.arc"), 0);
    Counter loaded;
    EXPECT_EQ(loaded.LoadByName("KivoBASIC", "Counter.arc"), 0);
    EXPECT_EQ(loaded.value, 12);
}

TEST_F(ArchivableFiles, FirstStartLoadFailsKeepsDefaultsAndMakesTheFolders)
{
    Counter c;
    EXPECT_EQ(c.LoadByName("KivoBASIC", "Counter.arc"), -1);
    EXPECT_EQ(c.value, 3);
    EXPECT_TRUE(std::filesystem::is_directory(root / "TAVREN" / "KivoBASIC"));
}

TEST_F(ArchivableFiles, AFailingArchiveLeavesTheOldFileWhole)
{
    Counter c;
    c.value = 5;
    ASSERT_EQ(c.SaveByName("KivoBASIC", "Counter.arc"), 0);
    std::string before = Contents(SettingsFile("KivoBASIC", "Counter.arc"));
    c.value = 6;
    c.failArchive = true;
    EXPECT_EQ(c.SaveByName("KivoBASIC", "Counter.arc"), -1);
    EXPECT_EQ(Contents(SettingsFile("KivoBASIC", "Counter.arc")), before);
    Counter loaded;
    EXPECT_EQ(loaded.LoadByName("KivoBASIC", "Counter.arc"), 0);
    EXPECT_EQ(loaded.value, 5);
}

TEST_F(ArchivableFiles, ABadFileIsRejectedWholeAndChangesNothing)
{
    std::string good;
    Message m;
    m.AddInt32("N", 99);
    ASSERT_EQ(m.Flatten(&good), platform::kOk);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"truncated", good.substr(0, good.size() - 1)},
        {"one byte changed",
         [&] {
             std::string b = good;
             b[b.size() / 2] ^= 1;
             return b;
         }()},
        {"trailing bytes", good + "x"},
        {"a text file", "BrkS=true\n"},
        {"oversized", good + std::string(kMaxSettingsFileSize, '\0')},
    };
    for (const Case& c : cases) {
        std::filesystem::path file = SettingsFile("KivoBASIC", "Counter.arc");
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
        Counter counter;
        EXPECT_EQ(counter.LoadByName("KivoBASIC", "Counter.arc"), -1) << c.what;
        EXPECT_EQ(counter.value, 3) << c.what;
    }
}

TEST_F(ArchivableFiles, FourHeldModifiersResetTheSettings)
{
    using namespace platform;
    struct Case {
        const char* what;
        uint32_t held;
        bool reset;
    };
    const Case cases[] = {
        {"all four", kShiftKey | kCommandKey | kControlKey | kOptionKey, true},
        {"all four and Caps Lock", kShiftKey | kCommandKey | kControlKey | kOptionKey | kCapsLockKey, true},
        {"no Shift", kCommandKey | kControlKey | kOptionKey, false},
        {"no Option", kShiftKey | kCommandKey | kControlKey, false},
        {"no Command", kShiftKey | kControlKey | kOptionKey | kMenuKey | kNumLockKey, false},
        {"none", 0, false},
    };
    for (const Case& c : cases) {
        set_modifier_reader(nullptr);
        Counter saved;
        saved.value = 40;
        ASSERT_EQ(saved.SaveByName("KivoBASIC", "Counter.arc"), 0);
        std::filesystem::path file = SettingsFile("KivoBASIC", "Counter.arc");

        set_modifier_reader([held = c.held] { return held; });
        saved.value = 41;
        EXPECT_EQ(saved.SaveByName("KivoBASIC", "Counter.arc"), c.reset ? -1 : 0) << c.what;
        Counter loaded;
        EXPECT_EQ(loaded.LoadByName("KivoBASIC", "Counter.arc"), c.reset ? -1 : 0) << c.what;
        EXPECT_EQ(loaded.value, c.reset ? 3 : 41) << c.what;
        EXPECT_EQ(std::filesystem::exists(file), !c.reset) << c.what;
    }
}
