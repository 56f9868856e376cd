// Writing a list file: exactly the text's bytes, through a symbolic link to its
// target, keeping the mode, the file type only on an untyped file, and a failed
// write that leaves the old file whole.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "listfiles/ListSaver.h"
#include "platform/FileType.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class ListSaver : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return (mDir / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(mDir / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(mDir / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // The folder's entries: a failed write must leave no temporary file behind.
    size_t CountEntries() const
    {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(mDir)) {
            (void)entry;
            ++count;
        }
        return count;
    }
    // Whether this file system keeps user extended attributes at all.
    bool HasTypes() const
    {
        const std::string probe = Path(".probe");
        Write(".probe", "");
        const bool ok = ::setxattr(probe.c_str(), "user.probe", "x", 1, 0) == 0;
        fs::remove(probe);
        return ok;
    }

    TTempFolder mFolder{"kivo-save"};
    const fs::path mDir = mFolder.Path();
};

TEST_F(ListSaver, WritesExactlyTheTextsBytes)
{
    const std::string texts[] = {"", "10 PRINT 1", "10 PRINT \"\u6F22\"\n20 END\n", std::string("\r\x1A", 2)};
    for (const std::string& text : texts) {
        const TListSaveResult saved = save_list_file(Path("prog.bas"), text);
        ASSERT_TRUE(saved.Saved);
        EXPECT_EQ(saved.WrittenPath, Path("prog.bas"));
        EXPECT_EQ(Read("prog.bas"), text);
    }
}

TEST_F(ListSaver, ANewFileIsTypedAndATypedFileKeepsItsType)
{
    if (!HasTypes()) GTEST_SKIP() << "no extended attributes on this file system";
    ASSERT_TRUE(save_list_file(Path("new.bas"), "10 END").Saved);
    EXPECT_EQ(platform::file_type(Path("new.bas")), kListFileType);

    Write("notes.txt", "old");
    ASSERT_EQ(::setxattr(Path("notes.txt").c_str(), "user.mime_type", "text/plain", 10, 0), 0);
    ASSERT_TRUE(save_list_file(Path("notes.txt"), "10 END").Saved);
    EXPECT_EQ(platform::file_type(Path("notes.txt")), "text/plain");
}

TEST_F(ListSaver, ALinkIsFollowedAndTheTargetKeepsItsMode)
{
    fs::create_directory(mDir / "real");
    Write("real/prog.bas", "old");
    ASSERT_EQ(::chmod(Path("real/prog.bas").c_str(), 0640), 0);
    fs::create_symlink("real/prog.bas", mDir / "link.bas");
    fs::create_symlink("link.bas", mDir / "link2.bas");

    const TListSaveResult saved = save_list_file(Path("link2.bas"), "10 NEW");
    ASSERT_TRUE(saved.Saved);
    EXPECT_EQ(saved.WrittenPath, Path("real/prog.bas"));
    EXPECT_TRUE(fs::is_symlink(mDir / "link.bas"));
    EXPECT_TRUE(fs::is_symlink(mDir / "link2.bas"));
    EXPECT_EQ(Read("real/prog.bas"), "10 NEW");
    EXPECT_EQ(fs::status(mDir / "real/prog.bas").permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ListSaver, ALinkLoopOrAMissingFolderIsAFailure)
{
    fs::create_symlink("loop2.bas", mDir / "loop1.bas");
    fs::create_symlink("loop1.bas", mDir / "loop2.bas");
    EXPECT_FALSE(save_list_file(Path("loop1.bas"), "10 END").Saved);
    EXPECT_FALSE(save_list_file(Path("none/prog.bas"), "10 END").Saved);
    EXPECT_FALSE(save_list_file("", "10 END").Saved);
}

TEST_F(ListSaver, AWriteThatRunsOutOfRoomLeavesTheOldFileWhole)
{
    // A file-size limit stands in for a full disk: the write fails part way.
    const std::string old = "10 PRINT \"old\"\n";
    Write("prog.bas", old);
    const size_t entries = CountEntries();

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const TListSaveResult result = save_list_file(Path("prog.bas"), std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.Saved);
    EXPECT_EQ(Read("prog.bas"), old);
    EXPECT_EQ(CountEntries(), entries);
}

}  // namespace
