// The list files in the main window, offscreen: open and insert requests with what
// follows them (title, recent lists, drive 1), Save through the save panel, the save
// question at quit, drops, New, Delete All of the recent lists, the backup offer at
// start and the automatic-save timer.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "ShellTesting.h"
#include "listfiles/ListLoader.h"
#include "platform/Modifiers.h"
#include "platform/qt/LooperPump.h"
#include "session/ListQuestions.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicWindow.h"

namespace {

using namespace shell_testing;
namespace fs = std::filesystem;

// Stands in for the application: keeps what arrives.
class FakeApplication : public platform::Looper, public TCommandReceiver {
public:
    FakeApplication() : mPump(this) {}
    ~FakeApplication() override { Quit(); }
    bool HandlesCommand(uint32_t) const override { return false; }
    void MessageReceived(platform::Message* message) override { received.push_back(*message); }

    std::vector<platform::Message> received;

private:
    platform::LooperPump mPump;
};

const std::string kKanaList = "10 PRINT \"\uFF76\uFF85\uFF93\uFF7C\uFF9E \uFF89 \uFF83\uFF7D\uFF84\"\n"
                              "20 PRINT \"\u304B\u306A\u3068\u30AB\u30CA\u3068\u6F22\u5B57\"\n"
                              "30 ' \uFF71\uFF72\uFF73\uFF74\uFF75 \uFF76\uFF77\uFF78\uFF79\uFF7A\n"
                              "40 END\n";

class ListFilesWindow : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        mLists = root / "lists";
        fs::create_directories(mLists);
    }
    void TearDown() override
    {
        platform::set_modifier_reader(nullptr);
        window.reset();
        ShellFixture::TearDown();
    }
    void Open()
    {
        window = std::make_unique<TKivoBasicWindow>(platform::Rect{10, 30, 509, 329}, &app);
        View()->Asker().SetOverride(&asker);
        window->Show();
        Pump();
    }
    static void Pump()
    {
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
    }
    TKivoBasicView* View() const { return window->BasicView(); }
    std::string Title() const { return window->windowTitle().toStdString(); }
    std::string Text() const { return View()->TextView()->Text(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(mLists / name, std::ios::binary) << bytes;
        return (mLists / name).string();
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    void Request(const std::string& path, bool add = false)
    {
        platform::Message request(kRefsReceivedMessage);
        request.AddRef("refs", platform::EntryRef{path});
        if (add) request.AddBool("Add", true);
        window->PostMessage(request);
        Pump();
    }
    void Type(const std::string& text)
    {
        View()->TextView()->SetText(text);
        View()->TextView()->SetModified(true);
    }
    std::vector<std::string> Recent() const
    {
        std::vector<std::string> paths;
        for (int32_t i = 0; i < window->RecentLists().List().CountMRUFs(); ++i)
            paths.push_back(window->RecentLists().List().MRUFAt(i));
        return paths;
    }
    std::vector<uint32_t> AppCodes() const
    {
        std::vector<uint32_t> codes;
        for (const platform::Message& message : app.received) codes.push_back(message.what);
        return codes;
    }
    // Confirms the save panel with a typed name.
    void SaveAsTyped(const std::string& name)
    {
        ASSERT_TRUE(wait_until([&] { return window->SavePanel() && window->SavePanel()->isVisible(); }));
        QFileDialog* panel = window->SavePanel();
        panel->setDirectory(QString::fromStdString(mLists.string()));
        auto* nameField = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(nameField);
        nameField->setText(QString::fromStdString(name));
        QTest::keyClick(nameField, Qt::Key_Return);
        ASSERT_TRUE(wait_until([&] { return !panel->isVisible(); }));
        Pump();
    }

    fs::path mLists;
    FakeApplication app;
    TScriptedListAsker asker;
    std::unique_ptr<TKivoBasicWindow> window;
};

TEST_F(ListFilesWindow, OpeningAShiftJisListShowsItsKanaAndTheListFollowsTheFile)
{
    Open();
    const std::string path = (fs::path(KIVO_FIXTURE_DIR) / "ui" / "sjis-kana.bas").string();
    Request(path);
    EXPECT_EQ(Text(), kKanaList);
    EXPECT_FALSE(View()->TextView()->IsModified());
    EXPECT_EQ(Title().rfind("sjis-kana.bas - ", 0), 0u) << Title();
    EXPECT_EQ(Recent(), std::vector<std::string>{path});
    ASSERT_EQ(AppCodes(), std::vector<uint32_t>{kSetDriveFolderRequest});
    platform::EntryRef folder;
    ASSERT_EQ(app.received[0].FindRef("refs", &folder), platform::kOk);
    EXPECT_EQ(folder.path, fs::path(path).parent_path().string() + "/");
    EXPECT_TRUE(View()->Document().SaveNeedsPanel());
}

TEST_F(ListFilesWindow, InsertingChangesNeitherTitleNorRecentListsNorDriveOne)
{
    Open();
    Request(Write("part.bas", "20 B\n"), true);
    EXPECT_EQ(Text(), "20 B\n");
    EXPECT_TRUE(View()->TextView()->IsModified());
    EXPECT_EQ(Title().rfind("(New List) - ", 0), 0u) << Title();
    EXPECT_TRUE(Recent().empty());
    EXPECT_TRUE(app.received.empty());
}

TEST_F(ListFilesWindow, SavingAConvertedListGoesThroughThePanelAndWritesUtf8)
{
    Open();
    Request((fs::path(KIVO_FIXTURE_DIR) / "ui" / "sjis-kana.bas").string());
    window->PostMessage(kSaveMessage, View());
    SaveAsTyped("copy");
    EXPECT_EQ(Read(mLists / "copy.bas"), kKanaList);
    EXPECT_EQ(Title().rfind("copy.bas - ", 0), 0u) << Title();
    EXPECT_EQ(Recent().front(), (mLists / "copy.bas").string());
    EXPECT_FALSE(View()->TextView()->IsModified());

    // A restart loads the recent lists from their file; opening the copy shows the text.
    window.reset();
    Open();
    ASSERT_FALSE(Recent().empty());
    EXPECT_EQ(Recent().front(), (mLists / "copy.bas").string());
    Request(Recent().front());
    EXPECT_EQ(Text(), kKanaList);
    EXPECT_FALSE(View()->Document().SaveNeedsPanel());
}

TEST_F(ListFilesWindow, QuitAsksToSaveAModifiedList)
{
    Open();
    const std::string path = Write("prog.bas", "10 OLD");
    Request(path);
    Type("10 NEW");
    // Cancel: stay.
    asker.Answers = {0};
    EXPECT_FALSE(window->QuitRequested());
    // No: quit without saving.
    asker.Answers = {1};
    EXPECT_TRUE(window->QuitRequested());
    EXPECT_EQ(Read(path), "10 OLD");
    // Yes, with a file: saved, then the quit request reaches the application.
    app.received.clear();
    asker.Answers = {2};
    EXPECT_FALSE(window->QuitRequested());
    EXPECT_TRUE(wait_until([&] { return !AppCodes().empty(); }));
    EXPECT_EQ(Read(path), "10 NEW");
    EXPECT_EQ(AppCodes(), std::vector<uint32_t>{kQuitMessage});
}

TEST_F(ListFilesWindow, YesOnANewListOpensThePanelAndCancellingItKeepsRunning)
{
    Open();
    Type("10 NEW");
    asker.Answers = {2};
    EXPECT_FALSE(window->QuitRequested());
    ASSERT_TRUE(wait_until([&] { return window->SavePanel() && window->SavePanel()->isVisible(); }));
    window->SavePanel()->reject();
    Pump();
    EXPECT_TRUE(app.received.empty());
    EXPECT_TRUE(View()->TextView()->IsModified());
    ASSERT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(asker.Questions[0].Text, "Save the changes to (New List)?");
}

TEST_F(ListFilesWindow, ADropWithAltHeldInsertsAndWithoutOpens)
{
    Open();
    const std::string path = Write("drop.bas", "20 DROPPED\n");
    View()->TextView()->SetText("10 A\n");
    QTextCursor caret = View()->TextView()->textCursor();
    caret.setPosition(5);
    View()->TextView()->setTextCursor(caret);
    platform::set_modifier_reader([] { return platform::kControlKey; });  // Alt
    platform::Message drop(kSimpleDataMessage);
    drop.AddRef("refs", platform::EntryRef{path});
    drop.AddBool("FromOutside", true);
    window->PostMessage(drop, View());
    Pump();
    EXPECT_EQ(Text(), "10 A\n20 DROPPED\n");
    EXPECT_EQ(Title().rfind("(New List) - ", 0), 0u);

    platform::set_modifier_reader(nullptr);
    View()->TextView()->SetModified(false);
    window->PostMessage(drop, View());
    Pump();
    EXPECT_EQ(Text(), "20 DROPPED\n");
    EXPECT_EQ(Title().rfind("drop.bas - ", 0), 0u);
}

TEST_F(ListFilesWindow, NewOnAnUnmodifiedListEmptiesItAtOnce)
{
    Open();
    Request(Write("prog.bas", "10 END\n"));
    window->PostMessage(kNewListMessage, View());
    Pump();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Title().rfind("(New List) - ", 0), 0u);
    EXPECT_TRUE(asker.Questions.empty());
}

TEST_F(ListFilesWindow, DeleteAllEmptiesTheRecentListsForGood)
{
    Open();
    Request(Write("a.bas", "10 A\n"));
    Request(Write("b.bas", "10 B\n"));
    ASSERT_EQ(Recent().size(), 2u);
    QAction* deleteAll = nullptr;
    for (QAction* action : window->RecentListsMenu()->actions())
        if (action->data().toUInt() == kDeleteAllMRULsMessage) deleteAll = action;
    ASSERT_TRUE(deleteAll);
    EXPECT_TRUE(deleteAll->isEnabled());
    // Two recent items, the separator and Delete All.
    EXPECT_EQ(window->RecentListsMenu()->actions().size(), 4);

    asker.Answers = {1};
    window->PostMessage(kDeleteAllMRULsMessage);
    Pump();
    EXPECT_TRUE(Recent().empty());
    window.reset();
    Open();
    EXPECT_TRUE(Recent().empty());
    EXPECT_EQ(window->RecentListsMenu()->actions().size(), 2);
}

TEST_F(ListFilesWindow, ABackupLeftByACrashIsOfferedAndRestored)
{
    const fs::path folder = root / "TAVREN" / "KivoBASIC";
    fs::create_directories(folder);
    std::ofstream(folder / "AutoSave.bas", std::ios::binary) << "10 PRINT \"saved\"";
    asker.Answers = {1};
    Open();
    EXPECT_EQ(Text(), "10 PRINT \"saved\"");
    EXPECT_TRUE(View()->TextView()->IsModified());
    EXPECT_EQ(Title().rfind("(Auto Backuped List) - ", 0), 0u) << Title();
    ASSERT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(asker.Questions[0].EscapeIndex, -1);
    // A normal end leaves no backup behind.
    window.reset();
    EXPECT_FALSE(fs::exists(folder / "AutoSave.bas"));
}

TEST_F(ListFilesWindow, ADeclinedBackupIsKeptAside)
{
    const fs::path folder = root / "TAVREN" / "KivoBASIC";
    fs::create_directories(folder);
    std::ofstream(folder / "AutoSave.bas", std::ios::binary) << "10 WORK";
    asker.Answers = {0};
    Open();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Title().rfind("(New List) - ", 0), 0u);
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind("AutoSave-declined-", 0) == 0) kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Read(kept[0]), "10 WORK");
}

TEST_F(ListFilesWindow, TheTimerFollowsThePreferences)
{
    gPrefs.AutoSaveInterval = 36;
    Open();
    ASSERT_TRUE(View()->AutoSaveTimer());
    EXPECT_EQ(View()->AutoSaveTimer()->interval(), 36 * 60000);
    gPrefs.AutoSaveRegularly = false;
    window->PostMessage(kPrefAutoSaveRegularChanged);
    Pump();
    EXPECT_EQ(View()->AutoSaveTimer(), nullptr);
    // A backup due writes the list whatever its state.
    Type("10 TYPED");
    window->PostMessage(kAutoSaveTimerMessage, View());
    Pump();
    ASSERT_TRUE(View()->BackupSlot());
    EXPECT_EQ(Read(View()->BackupSlot()->BackupPath()), "10 TYPED");
    EXPECT_TRUE(View()->TextView()->IsModified());
}

TEST_F(ListFilesWindow, ARunNamingAFileAsksFirstAndCancelLoadsNothing)
{
    Open();
    const std::string path = Write("next.bas", "10 PRINT 2\n");
    Type("10 PRINT 1\n");
    TRunRequest run;
    run.FileName = path;
    asker.Answers = {0};
    View()->HandOff().RunBasic(run);
    Pump();
    EXPECT_EQ(Text(), "10 PRINT 1\n");
    asker.Answers = {1};
    View()->HandOff().RunBasic(run);
    Pump();
    EXPECT_EQ(Text(), "10 PRINT 2\n");
    EXPECT_EQ(Title().rfind("next.bas - ", 0), 0u);
}

}  // namespace
