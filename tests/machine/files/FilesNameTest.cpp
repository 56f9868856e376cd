// BASIC file names: drive numbers, the name part, and opening names inside their
// drive folder only (escapes, links, FIFOs, folders).

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "machine/files/BasicFileName.h"
#include "tests/machine/files/FilesTestSupport.h"

namespace {

TEST(BasicFileName, DriveNumberAndFilePart)
{
    struct Case {
        const char* name;
        int32_t drive;
        const char* file;
    };
    const Case cases[] = {
        {"DATA.TXT", 1, "DATA.TXT"},
        {"2:DATA.TXT", 2, "DATA.TXT"},
        {"0:A", 0, "A"},
        {"15:A", 15, "A"},
        {":A", 0, "A"},
        {"A:B", 0, "B"},
        {"-1:A", -1, "A"},
        {" 2:A", 2, "A"},
        {"\t+3:A", 3, "A"},
        {"2X:A", 2, "A"},
        {"1:A:B", 1, "A:B"},
        {"1:SUB/A", 1, "SUB/A"},
        {"1:", 1, ""},
        {"99999999999:A", INT32_MAX, "A"},
        {"-99999999999:A", INT32_MIN, "A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(basic_drive_number(c.name), c.drive) << c.name;
        EXPECT_EQ(basic_file_part(c.name), c.file) << c.name;
    }
}

// Both ways of resolving: openat2 beneath the folder, and the walk used where the
// kernel has no openat2.
class BeneathFolder : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        use_resolve_walk_for_tests(GetParam());
        dirFd = open_drive_folder(tree.Drive);
        ASSERT_GE(dirFd, 0);
    }
    void TearDown() override
    {
        if (dirFd >= 0) ::close(dirFd);
        use_resolve_walk_for_tests(false);
    }
    bool Walking() const { return GetParam(); }

    TTempDriveTree tree;
    int dirFd = -1;
};

TEST_P(BeneathFolder, OpensCreatesAndReachesSubFolders)
{
    TTempDriveTree::WriteFile(tree.InDrive("IN.TXT"), "hello");
    std::filesystem::create_directory(tree.InDrive("SUB"));

    TBeneathOpen r = open_beneath(dirFd, "IN.TXT", O_RDONLY);
    ASSERT_EQ(r.Result, TBeneathResult::Ok);
    char buf[8] = {};
    EXPECT_EQ(::read(r.Fd, buf, sizeof buf), 5);
    // The descriptor comes back blocking.
    EXPECT_EQ(::fcntl(r.Fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(r.Fd);

    r = open_beneath(dirFd, "SUB/NEW.TXT", O_RDWR | O_CREAT);
    ASSERT_EQ(r.Result, TBeneathResult::Ok);
    ::close(r.Fd);
    EXPECT_TRUE(std::filesystem::exists(tree.InDrive("SUB/NEW.TXT")));

    EXPECT_EQ(open_beneath(dirFd, "MISSING", O_RDONLY).Result, TBeneathResult::NotFound);
    EXPECT_FALSE(std::filesystem::exists(tree.InDrive("MISSING")));
    EXPECT_EQ(open_beneath(dirFd, "NOSUB/A", O_RDWR | O_CREAT).Result, TBeneathResult::NotFound);
    EXPECT_EQ(probe_beneath(dirFd, "IN.TXT").Result, TBeneathResult::Ok);
    EXPECT_EQ(probe_beneath(dirFd, "MISSING").Result, TBeneathResult::NotFound);
}

TEST_P(BeneathFolder, NamesThatLeadOutReachNothing)
{
    const std::string outside = tree.Root + "/outside.txt";
    ASSERT_EQ(::symlink("../outside.txt", tree.InDrive("rel-link").c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), tree.InDrive("abs-link").c_str()), 0);
    ASSERT_EQ(::symlink(tree.Root.c_str(), tree.InDrive("dir-link").c_str()), 0);
    ASSERT_EQ(::symlink("../new-by-link.txt", tree.InDrive("dangling-out").c_str()), 0);
    std::filesystem::create_directory(tree.InDrive("SUB"));
    const auto before = tree.Snapshot();

    const char* names[] = {
        "../outside.txt", "../new.txt",           "SUB/../../outside.txt", "SUB/../../new.txt", "rel-link",
        "abs-link",       "dir-link/outside.txt", "dir-link/new.txt",      "dangling-out",
    };
    const std::string absolute[] = {outside, tree.Root + "/new.txt"};
    const int modes[] = {O_RDONLY, O_RDWR | O_CREAT | O_TRUNC, O_RDWR | O_APPEND, O_RDWR | O_CREAT};
    for (int mode : modes) {
        for (const char* name : names) {
            const TBeneathOpen r = open_beneath(dirFd, name, mode);
            EXPECT_EQ(r.Result, TBeneathResult::Escapes) << name << " mode " << mode;
            EXPECT_EQ(r.Fd, -1);
            EXPECT_EQ(probe_beneath(dirFd, name).Result, TBeneathResult::Escapes) << name;
        }
        for (const std::string& name : absolute) {
            EXPECT_EQ(open_beneath(dirFd, name, mode).Result, TBeneathResult::Escapes) << name;
        }
    }
    EXPECT_EQ(tree.Snapshot(), before);
}

TEST_P(BeneathFolder, NamesWithControlBytesAreRefusedAndCreateNothing)
{
    TTempDriveTree::WriteFile(tree.InDrive("A"), "x");
    const auto before = tree.Snapshot();
    const std::string names[] = {
        "A\nB", std::string("A\0B", 3), std::string("A\0", 2), "A\x7F", "\tA", "A\r", "SUB\x1B/A",
    };
    const int modes[] = {O_RDONLY, O_RDWR | O_CREAT | O_TRUNC, O_RDWR | O_APPEND, O_RDWR | O_CREAT};
    for (const std::string& name : names) {
        EXPECT_TRUE(has_control_byte(name));
        for (int mode : modes) {
            const TBeneathOpen r = open_beneath(dirFd, name, mode);
            EXPECT_EQ(r.Result, TBeneathResult::BadName) << name << " mode " << mode;
            EXPECT_EQ(r.Fd, -1);
        }
        EXPECT_EQ(probe_beneath(dirFd, name).Result, TBeneathResult::BadName) << name;
    }
    EXPECT_EQ(tree.Snapshot(), before);
    for (const char* clean : {"A", "SUB/A.TXT", "\x80\xFF", "A B~"}) EXPECT_FALSE(has_control_byte(clean)) << clean;
}

TEST_P(BeneathFolder, LinksInsideTheFolder)
{
    TTempDriveTree::WriteFile(tree.InDrive("REAL.TXT"), "x");
    std::filesystem::create_directory(tree.InDrive("SUB"));
    ASSERT_EQ(::symlink("REAL.TXT", tree.InDrive("inside-link").c_str()), 0);
    ASSERT_EQ(::symlink("../REAL.TXT", tree.InDrive("SUB/up-link").c_str()), 0);
    for (const char* name : {"inside-link", "SUB/up-link"}) {
        const TBeneathOpen r = open_beneath(dirFd, name, O_RDONLY);
        if (Walking()) {
            // Without openat2 no link is followed, not even one that stays inside.
            EXPECT_EQ(r.Result, TBeneathResult::Escapes) << name;
        } else {
            ASSERT_EQ(r.Result, TBeneathResult::Ok) << name;
            ::close(r.Fd);
        }
    }
}

TEST_P(BeneathFolder, OnlyRegularFilesOpen)
{
    ASSERT_EQ(::mkfifo(tree.InDrive("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(tree.InDrive("SUB"));
    ASSERT_EQ(::symlink("fifo", tree.InDrive("fifo-link").c_str()), 0);
    // A FIFO opened for reading would wait for a writer: it must be refused at once.
    const char* names[] = {"fifo", "SUB", "", ".", "SUB/"};
    for (int mode : {O_RDONLY, O_RDWR | O_CREAT | O_TRUNC, O_RDWR | O_APPEND, O_RDWR | O_CREAT}) {
        for (const char* name : names) {
            const TBeneathOpen r = open_beneath(dirFd, name, mode);
            EXPECT_NE(r.Result, TBeneathResult::Ok) << "'" << name << "' mode " << mode;
            EXPECT_EQ(r.Fd, -1);
        }
        if (!Walking()) {
            EXPECT_EQ(open_beneath(dirFd, "fifo-link", mode).Result, TBeneathResult::NotRegular);
        }
    }
    EXPECT_EQ(open_beneath(dirFd, "fifo", O_RDONLY).Result, TBeneathResult::NotRegular);
    EXPECT_EQ(probe_beneath(dirFd, "fifo").Result, TBeneathResult::NotRegular);
    EXPECT_EQ(probe_beneath(dirFd, "SUB").Result, TBeneathResult::NotRegular);
}

INSTANTIATE_TEST_SUITE_P(Resolve, BeneathFolder, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& testInfo) {
                             return testInfo.param ? "Walk" : "Openat2";
                         });

TEST(BasicFileName, DriveFolderMustBeAFolder)
{
    TTempDriveTree tree;
    EXPECT_LT(open_drive_folder(""), 0);
    EXPECT_LT(open_drive_folder(tree.Root + "/outside.txt"), 0);
    EXPECT_LT(open_drive_folder(tree.Root + "/gone"), 0);
    const int fd = open_drive_folder(tree.Drive);
    EXPECT_GE(fd, 0);
    if (fd >= 0) ::close(fd);
}

}  // namespace
