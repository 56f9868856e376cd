#include "foundation/FileBase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/TempFolder.h"

namespace {

class FileBaseTest : public ::testing::Test {
protected:
    void WriteFile(const std::string& bytes)
    {
        std::ofstream out(mPath, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::string FileBytes() const
    {
        std::ifstream in(mPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Reads every line with the string form, asking Eof before each read.
    std::vector<std::string> ReadAllLines(TBasicFile& file)
    {
        std::vector<std::string> lines;
        std::string line;
        while (!file.Eof()) {
            file.ReadLine(&line);
            lines.push_back(line);
        }
        return lines;
    }

    TTempFolder mTemp{"kivo-filebase"};
    const std::string mFolder = mTemp.Path().string();
    const std::string mPath = mFolder + "/lines.txt";
};

TEST_F(FileBaseTest, ReadLineAcceptsLfAndCrLfLineEnds)
{
    const std::vector<std::string> expected = {"10 A=1", "", "20 B\rC", "30 END"};
    for (const char* content : {"10 A=1\n\n20 B\rC\n30 END\n", "10 A=1\r\n\r\n20 B\rC\r\n30 END\r\n"}) {
        WriteFile(content);
        TBasicFile file(mPath.c_str(), O_RDONLY);
        ASSERT_EQ(file.InitCheck(), platform::kOk);
        EXPECT_EQ(ReadAllLines(file), expected) << "content " << testing::PrintToString(content);
    }
}

TEST_F(FileBaseTest, LastLineWithoutLfIsReturnedWholeAndEofFollows)
{
    WriteFile("first\nlast");
    TBasicFile file(mPath.c_str(), O_RDONLY);
    std::string line;
    EXPECT_EQ(file.ReadLine(&line), 5);
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(file.ReadLine(&line), 4);
    EXPECT_EQ(line, "last");
    EXPECT_TRUE(file.Eof());

    // At the end a read gives an empty line, like an empty line would.
    EXPECT_EQ(file.ReadLine(&line), 0);
    EXPECT_EQ(line, "");
    char buffer[8] = "junk";
    EXPECT_EQ(file.ReadLine(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(FileBaseTest, BufferedReadLineCutsLongLinesAndLeavesTheRest)
{
    struct Step {
        int32_t size;
        int32_t expectedLength;
        std::string expectedText;
    };
    struct Case {
        std::string content;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"abcdef\nxyz\n", {{5, 4, "abcd"}, {5, 2, "ef"}, {5, 3, "xyz"}}},
        // The CR that fills the last place is dropped; the next call takes the LF.
        {"abc\r\nxyz\n", {{5, 3, "abc"}, {5, 0, ""}, {5, 3, "xyz"}}},
        {"abc\r\n", {{16, 3, "abc"}}},
        // A size of 1 has room only for the NUL.
        {"abc\n", {{1, 0, ""}, {1, 0, ""}, {16, 3, "abc"}}},
    };
    for (const Case& c : cases) {
        WriteFile(c.content);
        TBasicFile file(mPath.c_str(), O_RDONLY);
        for (const Step& step : c.steps) {
            char buffer[32];
            std::fill(std::begin(buffer), std::end(buffer), '#');
            EXPECT_EQ(file.ReadLine(buffer, step.size), step.expectedLength)
                << testing::PrintToString(c.content) << " size " << step.size;
            EXPECT_EQ(std::string(buffer), step.expectedText);
        }
    }
}

TEST_F(FileBaseTest, BufferedReadLineWithNoRoomWritesNothing)
{
    WriteFile("abc\n");
    TBasicFile file(mPath.c_str(), O_RDONLY);
    for (int32_t size : {0, -1, -100}) {
        char guard = '#';
        EXPECT_EQ(file.ReadLine(&guard, size), 0);
        EXPECT_EQ(guard, '#') << "size " << size;
    }
    EXPECT_EQ(file.Position(), 0);
}

TEST_F(FileBaseTest, ReadLeavesThePositionRightBehindTheLine)
{
    WriteFile("one\r\ntwo\n");
    TBasicFile file(mPath.c_str(), O_RDONLY);
    std::string line;
    file.ReadLine(&line);
    EXPECT_EQ(file.Position(), 5);
    char rest[4] = {};
    EXPECT_EQ(file.Read(rest, 3), 3);
    EXPECT_STREQ(rest, "two");
}

TEST_F(FileBaseTest, WriteLineEndsEachLineWithOneLf)
{
    {
        TBasicFile file(mPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        ASSERT_EQ(file.InitCheck(), platform::kOk);
        EXPECT_EQ(file.WriteLine(""), 1);
        EXPECT_EQ(file.WriteLine(std::string()), 1);
        EXPECT_EQ(file.WriteLine("10 PRINT"), 9);
        EXPECT_EQ(file.WriteLine(std::string("a\0b", 3)), 4);
        EXPECT_EQ(file.WriteLine(std::string("c\r")), 3);
    }
    EXPECT_EQ(FileBytes(), std::string("\n\n10 PRINT\na\0b\nc\r\n", 18));
}

TEST_F(FileBaseTest, EofComparesThePositionWithTheSize)
{
    WriteFile("");
    {
        TBasicFile empty(mPath.c_str(), O_RDONLY);
        EXPECT_TRUE(empty.Eof());
    }
    WriteFile("ab");
    TBasicFile file(mPath.c_str(), O_RDONLY);
    EXPECT_FALSE(file.Eof());
    file.Seek(1, SEEK_SET);
    EXPECT_FALSE(file.Eof());
    file.Seek(5, SEEK_SET);
    EXPECT_TRUE(file.Eof());
}

TEST_F(FileBaseTest, AFileThatIsNotOpenNeverMakesReadingLoop)
{
    TBasicFile closed;
    EXPECT_NE(closed.InitCheck(), platform::kOk);
    EXPECT_TRUE(closed.Eof());
    std::string line = "old";
    EXPECT_EQ(closed.ReadLine(&line), 0);
    EXPECT_EQ(line, "");
    char buffer[8];
    EXPECT_EQ(closed.ReadLine(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(closed.WriteLine("x"), -2);

    TBasicFile missing((mFolder + "/missing").c_str(), O_RDONLY);
    EXPECT_EQ(missing.InitCheck(), -ENOENT);
    EXPECT_TRUE(missing.Eof());
}

TEST_F(FileBaseTest, AFailedReadEndsTheLine)
{
    // A folder opens for reading, has a size, and every read of it fails.
    TBasicFile folder(mFolder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(folder.InitCheck(), platform::kOk);
    std::string line;
    EXPECT_EQ(folder.ReadLine(&line), 0);
    char buffer[8];
    EXPECT_EQ(folder.ReadLine(buffer, sizeof buffer), 0);
}

TEST_F(FileBaseTest, SetToRelativeToAFolderAndUnset)
{
    WriteFile("line\n");
    const int folderFd = open(mFolder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folderFd, 0);
    TBasicFile file;
    EXPECT_EQ(file.SetTo(folderFd, "lines.txt", O_RDONLY), platform::kOk);
    close(folderFd);
    std::string line;
    EXPECT_EQ(file.ReadLine(&line), 4);
    file.Unset();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.Eof());
}

}  // namespace
