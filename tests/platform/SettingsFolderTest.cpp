#include "platform/SettingsFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/TempFolder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// A fresh folder with HOME and XDG_CONFIG_HOME pointed into it; both are restored.
class SettingsFolderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Save("HOME", home);
        Save("XDG_CONFIG_HOME", config);
    }
    void TearDown() override
    {
        Restore("HOME", home);
        Restore("XDG_CONFIG_HOME", config);
    }

    struct Saved {
        bool set = false;
        std::string value;
    };
    static void Save(const char* name, Saved& saved)
    {
        const char* v = std::getenv(name);
        saved.set = v != nullptr;
        if (v) saved.value = v;
    }
    static void Restore(const char* name, const Saved& saved)
    {
        if (saved.set)
            ::setenv(name, saved.value.c_str(), 1);
        else
            ::unsetenv(name);
    }
    static std::string Contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TTempFolder tempFolder{"kivo-settings"};
    const fs::path root = tempFolder.Path();
    Saved home, config;
};

}  // namespace

TEST_F(SettingsFolderFixture, TheSettingsDirectoryComesFromTheEnvironment)
{
    struct Case {
        const char* what;
        const char* xdg;  // null: unset
        std::string expected;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME wins", "xdg/", (root / "xdg").string()},
        {"unset: HOME/.config", nullptr, (root / "home/.config").string()},
        {"relative XDG_CONFIG_HOME is ignored", "relative/path", (root / "home/.config").string()},
    };
    ::setenv("HOME", (root / "home").c_str(), 1);
    for (const Case& c : cases) {
        if (c.xdg) {
            std::string value = c.xdg[0] == 'r' ? std::string(c.xdg) : (root / c.xdg).string() + "/";
            ::setenv("XDG_CONFIG_HOME", value.c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        std::string path;
        ASSERT_EQ(user_settings_directory(&path), kOk) << c.what;
        EXPECT_EQ(path, c.expected) << c.what;
        EXPECT_TRUE(fs::is_directory(path)) << c.what;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    std::string untouched = "x";
    EXPECT_EQ(user_settings_directory(&untouched), kError);
    EXPECT_EQ(untouched, "x");
}

TEST_F(SettingsFolderFixture, CreateDirectoryMakesEveryParent)
{
    fs::path deep = root / "a/b/c";
    EXPECT_EQ(create_directory(deep.string(), 0777), kOk);
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_EQ(create_directory(deep.string(), 0777), kOk);
    std::ofstream(root / "file") << "x";
    EXPECT_NE(create_directory((root / "file/below").string(), 0777), kOk);
}

TEST_F(SettingsFolderFixture, AtomicWriteReplacesWholeAndKeepsPermissions)
{
    fs::path file = root / "prefs.arc";
    ASSERT_EQ(write_file_atomically(file.string(), "first"), kOk);
    EXPECT_EQ(Contents(file), "first");
    ::chmod(file.c_str(), 0600);
    ASSERT_EQ(write_file_atomically(file.string(), std::string("second\0bytes", 12)), kOk);
    EXPECT_EQ(Contents(file), std::string("second\0bytes", 12));
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
}

TEST_F(SettingsFolderFixture, AFailedWriteLeavesTheOldFile)
{
    fs::path folder = root / "locked";
    fs::create_directory(folder);
    fs::path file = folder / "prefs.arc";
    ASSERT_EQ(write_file_atomically(file.string(), "old"), kOk);
    if (::geteuid() != 0) {
        ::chmod(folder.c_str(), 0500);  // no new file can be made beside it
        EXPECT_EQ(write_file_atomically(file.string(), "new"), kIoError);
        ::chmod(folder.c_str(), 0700);
        EXPECT_EQ(Contents(file), "old");
    }
    EXPECT_EQ(write_file_atomically((root / "missing/prefs.arc").string(), "new"), kIoError);
    EXPECT_FALSE(fs::exists(root / "missing"));
}

TEST_F(SettingsFolderFixture, ASymbolicLinkIsReplacedNotFollowed)
{
    fs::path target = root / "target";
    std::ofstream(target) << "target";
    fs::path link = root / "link";
    fs::create_symlink(target, link);
    ASSERT_EQ(write_file_atomically(link.string(), "new"), kOk);
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(Contents(link), "new");
    EXPECT_EQ(Contents(target), "target");
}

TEST_F(SettingsFolderFixture, ReadFileHonoursItsLimit)
{
    fs::path file = root / "data";
    std::ofstream(file) << std::string(100, 'x');
    std::string contents = "keep";
    EXPECT_EQ(read_file(file.string(), 99, &contents), kBadData);
    EXPECT_EQ(contents, "keep");
    EXPECT_EQ(read_file(file.string(), 100, &contents), kOk);
    EXPECT_EQ(contents.size(), 100u);
    EXPECT_EQ(read_file((root / "none").string(), 100, &contents), kIoError);
    EXPECT_EQ(read_file(root.string(), 100, &contents), kIoError);
    ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(read_file((root / "fifo").string(), 100, &contents), kIoError);
    EXPECT_EQ(contents.size(), 100u);
}
