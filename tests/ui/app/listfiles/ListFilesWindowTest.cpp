// The list files in the main window, offscreen: open and insert requests with what
// follows them (title, recent lists, drive 1), Save through the save panel, the save
// question at quit, drops, New, Delete All and Ctrl on the recent lists, the backup
// offers at start and the automatic-save timer.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "ShellTesting.h"
#include "document/ListQuestions.h"
#include "foundation/PrefsMessages.h"
#include "listfiles/ListLoader.h"
#include "platform/Modifiers.h"
#include "platform/qt/LooperPump.h"
#include "session/AutoBackup.h"
#include "tests/TestPaths.h"
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

// Answers as the scripted asker does, but only after running the event loop for a
// while, as a modal alert does while it waits for the user. Showing an alert posts
// events of its own; the one posted here stands for them, so that the nested loop
// delivers what was already waiting too.
class ModalListAsker : public TScriptedListAsker {
public:
    int32_t Ask(const TListQuestion& question) override
    {
        QObject alert;
        QCoreApplication::postEvent(&alert, new QEvent(QEvent::User));
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        return TScriptedListAsker::Ask(question);
    }
};

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
    void Open(TListAsker* answering = nullptr)
    {
        window = std::make_unique<TKivoBasicWindow>(platform::Rect{10, 30, 509, 329}, &app);
        View()->Asker().SetOverride(answering ? answering : &asker);
        window->Show();
        Pump();
    }
    fs::path BackupFolder() const
    {
        const fs::path folder = root / "TAVREN" / "KivoBASIC";
        fs::create_directories(folder);
        return folder;
    }
    static std::vector<std::string> SetAside(const fs::path& folder)
    {
        std::vector<std::string> kept;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().find("-declined-") != std::string::npos) kept.push_back(entry.path());
        std::sort(kept.begin(), kept.end());
        return kept;
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
    // Confirms the save panel with a typed name, in `folder` (the lists' folder when
    // none is given).
    void SaveAsTyped(const std::string& name, const fs::path& folder = {})
    {
        ASSERT_TRUE(wait_until([&] { return window->SavePanel() && window->SavePanel()->isVisible(); }));
        QFileDialog* panel = window->SavePanel();
        panel->setDirectory(QString::fromStdString((folder.empty() ? mLists : folder).string()));
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
    const std::string path = (fs::path(test_paths::FixtureDir()) / "ui" / "sjis-kana.bas").string();
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
    Request((fs::path(test_paths::FixtureDir()) / "ui" / "sjis-kana.bas").string());
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

TEST_F(ListFilesWindow, OpeningAndSavingKeepsTheBytesOfTheList)
{
    struct Case {
        const char* what;
        std::string file;
        std::string saved;  // empty: the file's own bytes
    };
    const Case cases[] = {
        {"a no-break space", "10 PRINT \"A\u00A0B\"\n20 END\n", ""},
        {"a line separator", "10 PRINT \"C\u2028D\"\n20 END\n", ""},
        {"a paragraph separator", "10 PRINT \"E\u2029F\"\n20 END\n", ""},
        {"separators side by side", "10 '\u2029\u2029\u2028\u2029\n", ""},
        {"a byte-order mark", "\uFEFF10 PRINT 1\n", ""},
        {"a final line without a line feed", "10 A\n20 B", ""},
        {"kanji", "10 PRINT \"\u6F22\u5B57\"\n", ""},
        {"half-width kana", "10 PRINT \"\uFF76\uFF85\"\n", ""},
        {"the mark of an unconvertible character", "10 ' \u3013\n", ""},
        {"a pilcrow of its own", "10 ' \u00B6\u2029\u00B6\n", ""},
        {"blank lines only", "\n\n", ""},
        // Reading takes the carriage returns out; the line feed is the only separator.
        {"CR LF line ends", "10 A\r\n20 B\r\n", "10 A\n20 B\n"},
    };
    Open();
    for (const Case& c : cases) {
        const std::string path = Write("round.bas", c.file);
        Request(path);
        ASSERT_FALSE(View()->Document().SaveNeedsPanel()) << c.what;
        window->PostMessage(kSaveMessage, View());
        Pump();
        EXPECT_EQ(Read(path), c.saved.empty() ? c.file : c.saved) << c.what;
        EXPECT_FALSE(View()->TextView()->IsModified()) << c.what;
    }
}

TEST_F(ListFilesWindow, SaveAsStartsInTheListsFolderWithItsName)
{
    Open();
    const auto panelFolder = [&] { return window->SavePanel()->directory().absolutePath().toStdString(); };
    const auto panelName = [&] {
        return window->SavePanel()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text().toStdString();
    };
    // A new list before anything was saved: the home folder, no name.
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->SavePanel() && window->SavePanel()->isVisible(); }));
    EXPECT_EQ(panelFolder(), QDir::homePath().toStdString());
    EXPECT_EQ(panelName(), "");
    window->SavePanel()->reject();
    Pump();

    // A list read from Shift-JIS: its folder, its name with ".bas"; confirmed as offered.
    const fs::path games = mLists / "games";
    fs::create_directories(games);
    const std::string sjis = "10 ' \x8A\xBF\n";
    std::ofstream(games / "GAME.BAS", std::ios::binary) << sjis;
    Request((games / "GAME.BAS").string());
    window->PostMessage(kSaveMessage, View());
    ASSERT_TRUE(wait_until([&] { return window->SavePanel()->isVisible(); }));
    EXPECT_EQ(panelFolder(), games.string());
    EXPECT_EQ(panelName(), "GAME.bas");
    QTest::keyClick(window->SavePanel()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
    ASSERT_TRUE(wait_until([&] { return !window->SavePanel()->isVisible(); }));
    Pump();
    EXPECT_EQ(Read(games / "GAME.BAS"), sjis);
    EXPECT_EQ(Read(games / "GAME.bas"), "10 ' \u6F22\n");

    // A new list after that save: the folder saved to, and no name left over.
    window->PostMessage(kNewListMessage, View());
    Pump();
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->SavePanel()->isVisible(); }));
    EXPECT_EQ(panelFolder(), games.string());
    EXPECT_EQ(panelName(), "");
    window->SavePanel()->reject();
    Pump();
}

TEST_F(ListFilesWindow, TheSavePanelOfANewListChoosesNoFile)
{
    Open();
    Request(Write("prog.bas", "10 REM\n"));
    const auto chosen = [&] {
        std::vector<std::string> names;
        for (const char* files : {"listView", "treeView"}) {
            const auto* view = window->SavePanel()->findChild<QAbstractItemView*>(files);
            for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
                if (index.parent() == view->rootIndex() && index.column() == 0)
                    names.push_back(index.data().toString().toStdString());
        }
        return names;
    };
    // Save As of the list offers its file, chosen in the panel's list; confirmed.
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->SavePanel() && window->SavePanel()->isVisible(); }));
    ASSERT_TRUE(wait_until([&] {
        return chosen() == std::vector<std::string>{"prog.bas", "prog.bas"};
    })) << "listed and chosen";
    asker.Answers = {1};
    QTest::keyClick(window->SavePanel()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
    ASSERT_TRUE(wait_until([&] { return !window->SavePanel()->isVisible(); }));
    Pump();

    // A new list: the same folder, no name and no file chosen.
    window->PostMessage(kNewListMessage, View());
    Pump();
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->SavePanel()->isVisible(); }));
    Pump();
    EXPECT_EQ(window->SavePanel()->directory().absolutePath().toStdString(), mLists.string());
    EXPECT_EQ(window->SavePanel()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text().toStdString(), "");
    EXPECT_EQ(chosen(), std::vector<std::string>{});
    window->SavePanel()->reject();
    Pump();
}

TEST_F(ListFilesWindow, OnlyASaveThatSucceededSetsTheFolderANewListIsSavedIn)
{
    Open();
    const fs::path saved = mLists / "saved";
    const fs::path declined = mLists / "declined";
    fs::create_directories(saved);
    fs::create_directories(declined);
    std::ofstream(declined / "OLD.bas") << "10 REM OLD\n";

    Type("10 REM A\n");
    window->PostMessage(kSaveAsMessage);
    SaveAsTyped("A", saved);
    ASSERT_EQ(Read(saved / "A.bas"), "10 REM A\n");

    // Save As onto a file, and Cancel at the question whether to replace it.
    Type("10 REM B\n");
    asker.Answers = {0};
    window->PostMessage(kSaveAsMessage);
    SaveAsTyped("OLD", declined);
    ASSERT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(Read(declined / "OLD.bas"), "10 REM OLD\n");

    View()->TextView()->SetModified(false);
    window->PostMessage(kNewListMessage, View());
    Pump();
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->SavePanel()->isVisible(); }));
    EXPECT_EQ(window->SavePanel()->directory().absolutePath().toStdString(), saved.string());
    window->SavePanel()->reject();
    Pump();
}

TEST_F(ListFilesWindow, AtQuitTheSavePanelsFolderIsKeptBeforeTheOpenPanels)
{
    const fs::path opened = mLists / "opened";
    const fs::path saved = mLists / "saved";
    fs::create_directories(opened);
    fs::create_directories(saved);
    Open();
    window->PostMessage(kOpenMessage);
    window->PostMessage(kSaveAsMessage);
    ASSERT_TRUE(wait_until([&] { return window->OpenPanel() && window->SavePanel(); }));
    window->OpenPanel()->setDirectory(QString::fromStdString(opened.string()));
    window->SavePanel()->setDirectory(QString::fromStdString(saved.string()));
    ASSERT_TRUE(window->Quit());
    EXPECT_EQ(gExitStates.MainPanelFolder, saved.string());
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

TEST_F(ListFilesWindow, ABackupOfAnotherFreeSlotIsOfferedAndBecomesTheOwn)
{
    const fs::path folder = BackupFolder();
    // A running instance holds the first slot: its live backup is not offered.
    const auto running = TBackupSlot::Claim(folder.string());
    ASSERT_TRUE(running);
    std::ofstream(folder / "AutoSave.bas", std::ios::binary) << "10 LIVE";
    // An instance that held the third slot was killed.
    std::ofstream(folder / "AutoSave-3.bas", std::ios::binary) << "10 LEFT";
    asker.Answers = {1};
    Open();
    ASSERT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(Text(), "10 LEFT");
    EXPECT_EQ(Title().rfind("(Auto Backuped List) - ", 0), 0u) << Title();
    ASSERT_TRUE(View()->BackupSlot());
    EXPECT_EQ(View()->BackupSlot()->BackupPath(), (folder / "AutoSave-2.bas").string());
    // Restored, it is this instance's backup: not offered again at the next start.
    EXPECT_EQ(Read(folder / "AutoSave-2.bas"), "10 LEFT");
    EXPECT_FALSE(fs::exists(folder / "AutoSave-3.bas"));
    EXPECT_EQ(Read(folder / "AutoSave.bas"), "10 LIVE");
    window.reset();
    EXPECT_FALSE(fs::exists(folder / "AutoSave-2.bas"));
    EXPECT_EQ(Read(folder / "AutoSave.bas"), "10 LIVE");
}

TEST_F(ListFilesWindow, EachBackupLeftByACrashIsOfferedUntilOneIsRestored)
{
    const fs::path folder = BackupFolder();
    std::ofstream(folder / "AutoSave.bas", std::ios::binary) << "10 OWN";
    std::ofstream(folder / "AutoSave-2.bas", std::ios::binary) << "10 SECOND";
    std::ofstream(folder / "AutoSave-4.bas", std::ios::binary) << "10 FOURTH";
    // No to the own slot's, Yes to the next; the last waits for a later start.
    asker.Answers = {0, 1};
    Open();
    ASSERT_EQ(asker.Questions.size(), 2u);
    EXPECT_EQ(Text(), "10 SECOND");
    const std::vector<std::string> kept = SetAside(folder);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Read(kept[0]), "10 OWN");
    // Each offer says which list it is, and that No keeps it, and where.
    const std::string offers[] = {"10 OWN", "10 SECOND"};
    for (size_t i = 0; i < 2; ++i) {
        const std::string& text = asker.Questions[i].Text;
        EXPECT_NE(text.find("It begins with: " + offers[i]), std::string::npos) << text;
        EXPECT_NE(text.find("it is kept in " + folder.string()), std::string::npos) << text;
        EXPECT_EQ(text.find("lost."), std::string::npos) << text;
    }
    // The restore's note does not hide where the declined one went.
    const std::string status = View()->StatusBar()->text().toStdString();
    EXPECT_NE(status.find(fs::path(kept[0]).filename().string()), std::string::npos) << status;
    EXPECT_EQ(Read(folder / "AutoSave.bas"), "10 SECOND");
    EXPECT_EQ(Read(folder / "AutoSave-4.bas"), "10 FOURTH");
    window.reset();

    // Declined, it is set aside too.
    asker.Questions.clear();
    asker.Answers = {0};
    Open();
    EXPECT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(fs::exists(folder / "AutoSave-4.bas"));
    ASSERT_EQ(SetAside(folder).size(), 2u);
}

// The offer names the list by its first line, on one line: the separators in it show
// as the editor shows them.
TEST_F(ListFilesWindow, TheOfferShowsTheFirstLinesSeparatorsAsTheEditorDoes)
{
    struct Case {
        const char* what;
        std::string firstLine;
        std::string shown;
    };
    const Case cases[] = {
        {"a line separator", "10 PRINT \"C\u2028D\"", "10 PRINT \"C\u21B5D\""},
        {"a paragraph separator", "10 PRINT \"E\u2029F\"", "10 PRINT \"E\u00B6F\""},
        {"a carriage return", "10 A=1\r:B=2", "10 A=1\u240D:B=2"},
        {"separators side by side", "10 '\u2029\u2028\u2029", "10 '\u00B6\u21B5\u00B6"},
    };
    const fs::path folder = BackupFolder();
    for (const Case& c : cases) {
        std::ofstream(folder / "AutoSave.bas", std::ios::binary) << c.firstLine << "\n20 END\n";
        asker.Questions.clear();
        asker.Answers = {1};
        Open();
        ASSERT_EQ(asker.Questions.size(), 1u) << c.what;
        const std::string& text = asker.Questions[0].Text;
        EXPECT_NE(text.find("It begins with: " + c.shown + "\n"), std::string::npos) << c.what << ": " << text;
        window.reset();
    }
}

TEST_F(ListFilesWindow, AListNamedOnTheCommandLineOpensAfterTheRestoreOfferIsAnswered)
{
    const fs::path folder = BackupFolder();
    std::ofstream(folder / "AutoSave.bas", std::ios::binary) << "10 BACKUP\n";
    const std::string path = Write("prog.bas", "10 FILE\n");
    // As the command line's lists arrive: posted before the event loop runs.
    ModalListAsker modal;
    window = std::make_unique<TKivoBasicWindow>(platform::Rect{10, 30, 509, 329}, &app);
    View()->Asker().SetOverride(&modal);
    platform::Message request(kRefsReceivedMessage);
    request.AddRef("refs", platform::EntryRef{path});
    request.AddBool("FromOutside", true);
    window->PostMessage(request);
    window->Show();
    // Yes to the backup; then the restored list is modified, and Cancel keeps it.
    modal.Answers = {1, 0};
    Pump();
    Pump();
    ASSERT_EQ(modal.Questions.size(), 2u);
    EXPECT_TRUE(modal.Questions[0].Warning);
    EXPECT_EQ(modal.Questions[1].Text, "Save the changes to (Auto Backuped List)?");
    EXPECT_EQ(Text(), "10 BACKUP\n");
    EXPECT_EQ(Title().rfind("(Auto Backuped List) - ", 0), 0u) << Title();

    // No to the save question: the file replaces the restored list.
    window->PostMessage(request);
    modal.Answers = {1};
    Pump();
    EXPECT_EQ(Text(), "10 FILE\n");
    EXPECT_EQ(Title().rfind("prog.bas - ", 0), 0u) << Title();
}

TEST_F(ListFilesWindow, CtrlAsksToDeleteOnlyARecentListChosenFromItsMenu)
{
    Open();
    const std::string first = Write("a.bas", "10 A\n");
    const std::string next = Write("next.bas", "10 PRINT 2\n");
    Request(first);
    platform::set_modifier_reader([] { return platform::kCommandKey; });  // Ctrl

    // A run naming a file, started with keys that hold Ctrl, loads it.
    TRunRequest run;
    run.FileName = next;
    View()->HandOff().RunBasic(run);
    Pump();
    EXPECT_EQ(Text(), "10 PRINT 2\n");
    // So does the open panel's request.
    Request(first);
    EXPECT_EQ(Text(), "10 A\n");
    EXPECT_TRUE(asker.Questions.empty());
    EXPECT_EQ(Recent(), (std::vector<std::string>{first, next}));

    // The recent-lists menu's item asks; Yes deletes the entry and opens nothing.
    QAction* item = nullptr;
    for (QAction* action : window->RecentListsMenu()->actions())
        if (action->text().contains(QStringLiteral("next.bas"))) item = action;
    ASSERT_TRUE(item);
    asker.Answers = {1};
    item->trigger();
    Pump();
    ASSERT_EQ(asker.Questions.size(), 1u);
    EXPECT_EQ(asker.Questions[0].Text, "Delete next.bas from the recent lists?");
    EXPECT_EQ(Recent(), std::vector<std::string>{first});
    EXPECT_EQ(Text(), "10 A\n");
}

// File > Open(O)... is a submenu of the recent lists whose own item opens the panel.
TEST_F(ListFilesWindow, TheOpenPanelIsReachedFromTheMenuByMouseKeyboardAndShortcut)
{
    Open();
    window->activateWindow();
    QMenuBar* bar = window->MenuBar();
    QAction* fileTitle = bar->actions().front();
    QMenu* fileMenu = fileTitle->menu();
    QAction* openItem = window->RecentListsMenu()->menuAction();
    EXPECT_EQ(openItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));

    const auto openFileMenu = [&] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileTitle).center());
        return wait_until([&] { return fileMenu->isVisible(); });
    };
    const auto panelShownAndClosed = [&] {
        const bool shown = wait_until([&] { return window->OpenPanel() && window->OpenPanel()->isVisible(); });
        const bool menusClosed = !fileMenu->isVisible() && !window->RecentListsMenu()->isVisible();
        if (window->OpenPanel()) window->OpenPanel()->reject();
        Pump();
        return shown && menusClosed;
    };

    // A click on the item.
    ASSERT_TRUE(openFileMenu());
    QTest::mouseMove(fileMenu, fileMenu->actionGeometry(openItem).center());
    QTest::mouseClick(fileMenu, Qt::LeftButton, {}, fileMenu->actionGeometry(openItem).center());
    EXPECT_TRUE(panelShownAndClosed()) << "click";

    // Down to the item, then Return.
    ASSERT_TRUE(openFileMenu());
    for (int i = 0; i < fileMenu->actions().size() && fileMenu->activeAction() != openItem; ++i)
        QTest::keyClick(fileMenu, Qt::Key_Down);
    ASSERT_EQ(fileMenu->activeAction(), openItem);
    QTest::keyClick(fileMenu, Qt::Key_Return);
    EXPECT_TRUE(panelShownAndClosed()) << "Return";

    // The shortcut the menu shows.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(panelShownAndClosed()) << "Ctrl+O";
}

TEST_F(ListFilesWindow, TheTimerFollowsThePreferences)
{
    gPrefs.AutoSaveInterval = 36;
    Open();
    ASSERT_TRUE(View()->AutoSaveTimer());
    EXPECT_EQ(View()->AutoSaveTimer()->interval(), 36 * 60000);
    gPrefs.AutoSaveRegularly = false;
    window->PostMessage(kPrefsAutoSaveChanged);
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
