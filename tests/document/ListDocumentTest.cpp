// The list as a document: open, insert and merge with their identity rules, New,
// Save and Save As with their failures, the backup copy and the save question.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "document/ListDocument.h"
#include "document/ListQuestions.h"
#include "document/ListText.h"
#include "foundation/Common.h"
#include "listfiles/ListLoader.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class ListDocument : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return (mDir / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(mDir / name, std::ios::binary) << bytes;
        return Path(name);
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(mDir / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // A document with a modified text, as after typing.
    void Type(const std::string& text)
    {
        mText.ReplaceAll(text);
        mText.SetModified(true);
    }

    TTempFolder mFolder{"kivo-document"};
    const fs::path mDir = mFolder.Path();
    TPlainListText mText;
    TScriptedListAsker mAsker;
    TListDocument mDocument{mText, mAsker};
};

TEST_F(ListDocument, OpeningReplacesTheListUnmodified)
{
    Type("10 OLD\n");
    const std::string path = Write("sjis.bas", "10 ' \xB1\xB2\r\n");
    std::string note = "stale";
    ASSERT_TRUE(mDocument.OpenList(path, LIST_ENCODING_AUTO_DETECT, &note));
    mDocument.SetFile(path);
    EXPECT_EQ(mText.Text(), "10 ' \uFF71\uFF72\n");
    EXPECT_FALSE(mText.IsModified());
    EXPECT_EQ(mDocument.LoadedConversion(), LIST_CONVERSION_SHIFT_JIS);
    EXPECT_EQ(note, "");
    EXPECT_EQ(mDocument.DisplayName(), "sjis.bas");
    EXPECT_TRUE(mDocument.SaveNeedsPanel());
}

TEST_F(ListDocument, InsertGoesInAtTheCaretAndMergeOnALineOfItsOwn)
{
    const std::string path = Write("part.bas", "20 B\n");
    struct Case {
        const char* what;
        std::string list;
        size_t caret;
        bool merge;
        std::string result;
    };
    const Case cases[] = {
        {"insert at the caret", "10 A\n30 C\n", 5, false, "10 A\n20 B\n30 C\n"},
        {"merge after a final line feed", "10 A\n", 0, true, "10 A\n20 B\n"},
        // Saved lists end without a line feed; the lines must not run together.
        {"merge after a list without one", "10 A", 0, true, "10 A\n20 B\n"},
        {"merge into an empty list", "", 0, true, "20 B\n"},
    };
    for (const Case& c : cases) {
        mText.ReplaceAll(c.list);
        mText.SetModified(false);
        mText.SetCaret(c.caret);
        mDocument.SetFile(Path("main.bas"));
        const bool loaded = c.merge ? mDocument.MergeList(path, LIST_ENCODING_UTF8, nullptr)
                                    : mDocument.AddList(path, LIST_ENCODING_UTF8, nullptr);
        ASSERT_TRUE(loaded) << c.what;
        EXPECT_EQ(mText.Text(), c.result) << c.what;
        EXPECT_TRUE(mText.IsModified()) << c.what;
        // Insert and merge leave the list's file alone.
        EXPECT_EQ(mDocument.FilePath(), Path("main.bas")) << c.what;
    }
}

// The mark that opens a merged file stays out of the middle of the list, where it
// would stand before the first merged line's number.
TEST_F(ListDocument, MergeLeavesTheMergedFilesByteOrderMarkOut)
{
    const std::string path = Write("marked.bas", "\xEF\xBB\xBF"
                                                 "20 B\n");
    mText.ReplaceAll("\xEF\xBB\xBF"
                     "10 A");
    ASSERT_TRUE(mDocument.MergeList(path, LIST_ENCODING_UTF8, nullptr));
    EXPECT_EQ(mText.Text(), "\xEF\xBB\xBF"
                            "10 A\n20 B\n");
}

TEST_F(ListDocument, InsertAndMergeNeverLowerTheConversion)
{
    const std::string plain = Write("plain.bas", "20 B\n");
    const std::string sjis = Write("sjis.bas", "10 ' \x8A\xBF\n");
    const std::string jis = Write("jis.bas", "10 ' \x1BK\x34\x41\x1BH\n");
    struct Case {
        const char* what;
        std::string opened;
        std::string added;
        bool merge;
        int32_t conversion;
    };
    const Case cases[] = {
        {"UTF-8 inserted into Shift-JIS", sjis, plain, false, LIST_CONVERSION_SHIFT_JIS},
        {"UTF-8 merged into Shift-JIS", sjis, plain, true, LIST_CONVERSION_SHIFT_JIS},
        {"UTF-8 inserted into JIS", jis, plain, false, LIST_CONVERSION_JIS},
        {"Shift-JIS inserted into UTF-8", plain, sjis, false, LIST_CONVERSION_SHIFT_JIS},
        {"JIS merged into UTF-8", plain, jis, true, LIST_CONVERSION_JIS},
        {"UTF-8 inserted into UTF-8", plain, plain, false, LIST_CONVERSION_NONE},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(mDocument.OpenList(c.opened, LIST_ENCODING_AUTO_DETECT, nullptr)) << c.what;
        mDocument.SetFile(c.opened);
        const bool loaded = c.merge ? mDocument.MergeList(c.added, LIST_ENCODING_AUTO_DETECT, nullptr)
                                    : mDocument.AddList(c.added, LIST_ENCODING_AUTO_DETECT, nullptr);
        ASSERT_TRUE(loaded) << c.what;
        EXPECT_EQ(mDocument.LoadedConversion(), c.conversion) << c.what;
        EXPECT_EQ(mDocument.SaveNeedsPanel(), c.conversion != 0) << c.what;
    }
    // Reading a whole list again sets the conversion afresh.
    ASSERT_TRUE(mDocument.OpenList(plain, LIST_ENCODING_AUTO_DETECT, nullptr));
    EXPECT_EQ(mDocument.LoadedConversion(), LIST_CONVERSION_NONE);
}

TEST_F(ListDocument, AFileThatCannotBeReadLeavesTheListAsItWas)
{
    Type("10 KEEP\n");
    mDocument.SetFile(Path("main.bas"));
    const std::string bad = Write("bad.bas", "\xFE\x04\x01\x0A\x0B\x1A");
    const std::string paths[] = {Path("none.bas"), bad, mDir.string()};
    for (const std::string& path : paths) {
        std::string note = "stale";
        EXPECT_FALSE(mDocument.OpenList(path, LIST_ENCODING_AUTO_DETECT, &note));
        EXPECT_FALSE(mDocument.AddList(path, LIST_ENCODING_AUTO_DETECT, &note));
        EXPECT_FALSE(mDocument.MergeList(path, LIST_ENCODING_AUTO_DETECT, &note));
        EXPECT_EQ(note, "");
    }
    EXPECT_EQ(mText.Text(), "10 KEEP\n");
    EXPECT_TRUE(mText.IsModified());
    EXPECT_EQ(mDocument.DisplayName(), "main.bas");
    ASSERT_EQ(mAsker.Errors.size(), 9u);
    EXPECT_EQ(mAsker.Errors[0], "The list " + Path("none.bas") + " cannot be loaded.");
    EXPECT_EQ(mAsker.Errors[3], "This binary-saved list cannot be read.");
}

TEST_F(ListDocument, SaveGoesThroughThePanelUnlessTheListHasAPlainFile)
{
    const std::string plain = Write("plain.bas", "10 A\n");
    const std::string sjis = Write("sjis.bas", "10 ' \x8A\xBF\n");
    const std::string jis = Write("jis.bas", "10 ' \x1BK\x34\x41\x1BH\n");
    const std::string binary = Write("bin.bas", "\xFE\x09\x00\x0A\x00\x20\xC0\x20\x11\x00\x1A");
    const std::string broken = Write("broken.bas", "10 ' \x8A\xBF\n");
    const std::string nul = Write("nul.bas", std::string("10 A\0B\n", 8));
    struct Case {
        std::string path;
        int32_t encoding;
        bool panel;
    };
    const Case cases[] = {
        {plain, LIST_ENCODING_AUTO_DETECT, false},
        {sjis, LIST_ENCODING_AUTO_DETECT, true},
        {jis, LIST_ENCODING_AUTO_DETECT, true},
        {binary, LIST_ENCODING_AUTO_DETECT, true},
        // Repaired UTF-8 must not be written over the file it came from.
        {broken, LIST_ENCODING_UTF8, true},
        // Nor a list whose NUL bytes were repaired to blanks.
        {nul, LIST_ENCODING_AUTO_DETECT, true},
        {nul, LIST_ENCODING_UTF8, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(mDocument.OpenList(c.path, c.encoding, nullptr)) << c.path;
        mDocument.SetFile(c.path);
        EXPECT_EQ(mDocument.SaveNeedsPanel(), c.panel) << c.path;
    }
    mDocument.MakeNew();
    EXPECT_TRUE(mDocument.SaveNeedsPanel());
}

TEST_F(ListDocument, SaveWritesTheFileAndClearsTheMarkAndTheConversion)
{
    const std::string path = Write("prog.bas", "10 ' \x8A\xBF\n");
    ASSERT_TRUE(mDocument.OpenList(path, LIST_ENCODING_AUTO_DETECT, nullptr));
    ASSERT_TRUE(mDocument.SaveAs(Path("copy.bas")));
    EXPECT_EQ(Read("copy.bas"), "10 ' \u6F22\n");
    EXPECT_EQ(mDocument.LoadedConversion(), 0);
    EXPECT_EQ(mDocument.FilePath(), Path("copy.bas"));
    EXPECT_FALSE(mDocument.SaveNeedsPanel());
    Type("10 ' \u6F22\n20 END");
    ASSERT_TRUE(mDocument.Save());
    EXPECT_EQ(Read("copy.bas"), "10 ' \u6F22\n20 END");
    EXPECT_FALSE(mText.IsModified());
    EXPECT_TRUE(mAsker.Questions.empty());
}

TEST_F(ListDocument, AFailedSaveKeepsTheOldFileTheMarkAndTheConversion)
{
    const std::string path = Write("prog.bas", "10 ' \x8A\xBF\n");
    ASSERT_TRUE(mDocument.OpenList(path, LIST_ENCODING_AUTO_DETECT, nullptr));
    mDocument.SetFile(path);
    Type(std::string(4096, 'x'));

    // A file-size limit stands in for a full disk.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedAs = mDocument.Save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(savedAs);
    EXPECT_EQ(Read("prog.bas"), "10 ' \x8A\xBF\n");
    EXPECT_TRUE(mText.IsModified());
    EXPECT_EQ(mDocument.LoadedConversion(), LIST_CONVERSION_SHIFT_JIS);
    ASSERT_EQ(mAsker.Errors.size(), 1u);
    EXPECT_NE(mAsker.Errors[0].find(path), std::string::npos);
}

TEST_F(ListDocument, SaveAsAddsTheExtensionBeforeAskingToReplace)
{
    EXPECT_EQ(TListDocument::SaveAsPath(Path(""), "prog"), Path("prog.bas"));
    EXPECT_EQ(TListDocument::SaveAsPath(Path(""), "a.b"), Path("a.b"));
    EXPECT_EQ(TListDocument::SaveAsPath(Path(""), ".hidden"), Path(".hidden"));

    // "prog" typed in the panel stands for prog.bas, which exists: the question
    // must come, and Cancel must leave the file alone.
    Write("prog.bas", "10 OLD");
    Type("10 NEW");
    const std::string target = TListDocument::SaveAsPath(mDir.string(), "prog");
    mAsker.Answers = {0};
    EXPECT_FALSE(mDocument.SaveAs(target));
    EXPECT_EQ(Read("prog.bas"), "10 OLD");
    ASSERT_EQ(mAsker.Questions.size(), 1u);
    EXPECT_EQ(mAsker.Questions[0].Text, "A file named prog.bas already exists. Replace it?");
    EXPECT_EQ(mAsker.Questions[0].EscapeIndex, 0);
    EXPECT_TRUE(mText.IsModified());
    EXPECT_EQ(mDocument.DisplayName(), "(New List)");

    mAsker.Answers = {1};
    EXPECT_TRUE(mDocument.SaveAs(target));
    EXPECT_EQ(Read("prog.bas"), "10 NEW");
    EXPECT_EQ(mDocument.DisplayName(), "prog.bas");
}

TEST_F(ListDocument, TheBackupLeavesTheListsStateAlone)
{
    const std::string path = Write("sjis.bas", "10 ' \x8A\xBF\n");
    ASSERT_TRUE(mDocument.OpenList(path, LIST_ENCODING_AUTO_DETECT, nullptr));
    mDocument.SetFile(path);
    Type("10 ' \u6F22\n20 END");
    ASSERT_TRUE(mDocument.WriteBackup(Path("AutoSave.bas")));
    EXPECT_EQ(Read("AutoSave.bas"), "10 ' \u6F22\n20 END");
    EXPECT_TRUE(mText.IsModified());
    EXPECT_EQ(mDocument.LoadedConversion(), LIST_CONVERSION_SHIFT_JIS);
    EXPECT_EQ(mDocument.FilePath(), path);
    EXPECT_FALSE(mDocument.WriteBackup(Path("none/AutoSave.bas")));
    EXPECT_TRUE(mAsker.Errors.empty());
}

TEST_F(ListDocument, AnUnchangedTextIsNotWrittenToTheBackupAgain)
{
    const std::string backup = Path("AutoSave.bas");
    const auto inode = [&] {
        struct stat info {};
        return ::stat(backup.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    Type("10 RUN");
    ASSERT_TRUE(mDocument.WriteBackup(backup));
    const ino_t first = inode();
    ASSERT_NE(first, 0u);
    // Each write replaces the file; the same text leaves it as it is.
    ASSERT_TRUE(mDocument.WriteBackup(backup));
    EXPECT_EQ(inode(), first);
    Type("10 RUN\n20 END");
    ASSERT_TRUE(mDocument.WriteBackup(backup));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(Read("AutoSave.bas"), "10 RUN\n20 END");
    // A backup that went away (restored, set aside) is written again.
    fs::remove(backup);
    ASSERT_TRUE(mDocument.WriteBackup(backup));
    EXPECT_EQ(Read("AutoSave.bas"), "10 RUN\n20 END");
    ASSERT_TRUE(mDocument.WriteBackup(Path("Other.bas")));
    EXPECT_EQ(Read("Other.bas"), "10 RUN\n20 END");
}

TEST_F(ListDocument, ARestoredListIsModifiedNamedAndHasNoFile)
{
    const std::string backup = Write("AutoSave.bas", "10 PRINT \"\u6F22\"");
    ASSERT_TRUE(mDocument.RestoreBackup(backup, nullptr));
    EXPECT_EQ(mText.Text(), "10 PRINT \"\u6F22\"");
    EXPECT_TRUE(mText.IsModified());
    EXPECT_TRUE(mDocument.AutoBackuped());
    EXPECT_EQ(mDocument.DisplayName(), "(Auto Backuped List)");
    EXPECT_TRUE(mDocument.SaveNeedsPanel());
    // An open replaces it and names the list after its file.
    const std::string other = Write("other.bas", "10 END\n");
    ASSERT_TRUE(mDocument.OpenList(other, LIST_ENCODING_AUTO_DETECT, nullptr));
    mDocument.SetFile(other);
    EXPECT_FALSE(mDocument.AutoBackuped());
    EXPECT_EQ(mDocument.DisplayName(), "other.bas");
}

TEST_F(ListDocument, NewEmptiesTheList)
{
    mDocument.SetFile(Path("main.bas"));
    mText.ReplaceAll("10 END\n");
    ASSERT_EQ(mDocument.AskSave(), TAskSaveAnswer::GoOn);
    mDocument.MakeNew();
    EXPECT_EQ(mText.Text(), "");
    EXPECT_FALSE(mText.IsModified());
    EXPECT_EQ(mDocument.DisplayName(), "(New List)");
    EXPECT_TRUE(mAsker.Questions.empty());
}

TEST_F(ListDocument, TheSaveQuestionNamesTheListAndMapsItsButtons)
{
    const std::pair<int32_t, TAskSaveAnswer> answers[] = {{0, TAskSaveAnswer::Cancel},
                                                          {1, TAskSaveAnswer::GoOn},
                                                          {2, TAskSaveAnswer::SaveFirst},
                                                          {-1, TAskSaveAnswer::Cancel}};
    for (const auto& [button, answer] : answers) {
        Type("10 END\n");
        mAsker.Answers = {button};
        EXPECT_EQ(mDocument.AskSave(), answer) << button;
    }
    ASSERT_EQ(mAsker.Questions.size(), 4u);
    const TListQuestion& question = mAsker.Questions[0];
    EXPECT_EQ(question.Text, "Save the changes to (New List)?");
    ASSERT_EQ(question.Buttons.size(), 3u);
    EXPECT_EQ(question.Buttons[0].Label, "Cancel");
    EXPECT_EQ(question.Buttons[1].Accelerator, 'N');
    EXPECT_EQ(question.Buttons[2].Accelerator, 'Y');
    EXPECT_EQ(question.EscapeIndex, 0);
    // Not modified: no question, go on at once.
    mText.SetModified(false);
    EXPECT_EQ(mDocument.AskSave(), TAskSaveAnswer::GoOn);
    EXPECT_EQ(mAsker.Questions.size(), 4u);
}

TEST(SaveRequest, CarriesThePendingRequestAsItsContinuation)
{
    platform::Message pending(platform::fourcc("_QRQ"));
    pending.AddInt32("marker", 7);
    const platform::Message request = make_save_request(pending, nullptr);
    EXPECT_EQ(request.what, platform::fourcc("_sav"));
    platform::Message next;
    ASSERT_EQ(request.FindMessage("NextMsg", &next), platform::kOk);
    EXPECT_EQ(next.what, platform::fourcc("_QRQ"));
    int32_t marker = 0;
    EXPECT_EQ(next.FindInt32("marker", &marker), platform::kOk);
    EXPECT_EQ(marker, 7);
    EXPECT_TRUE(request.HasField("NextMsgTgt"));
}

}  // namespace
