// The run window's drive menus: folders set from the panel, the recent folders and the
// editor, Eject, the recent-folders file, the folder checks, and the access lamps.

#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "foundation/MRUF.h"
#include "foundation/TAVRENUtils.h"
#include "machine/music/MidiRecorder.h"
#include "tests/foundation/SettingsTestSupport.h"
#include "tests/ui/MenuText.h"
#include "tests/ui/runwindow/FakeRunMidiPorts.h"
#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/runwindow/FDDLampStyle.h"
#include "ui/runwindow/RunWindow.h"

using namespace run_window_testing;
namespace fs = std::filesystem;

namespace {

const std::string kEmptyLabel = "(C)(Empty) ...";

platform::Message drive_message(uint32_t what, int32_t drive)
{
    platform::Message message(what);
    message.AddInt32("DrvFolderIdx", drive);
    return message;
}

platform::Message folder_message(uint32_t what, int32_t drive, const fs::path& folder)
{
    platform::Message message = drive_message(what, drive);
    message.AddRef("refs", platform::EntryRef{folder.string()});
    return message;
}

class DriveMenus : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        folders = root / "folders";
        fs::create_directories(folders);
    }
    void TearDown() override
    {
        if (window) window->RunView()->Session().KillBasic();
        window.reset();
        SettingsDirFixture::TearDown();
    }
    void Open()
    {
        window = std::make_unique<TRunWindow>(platform::Rect{20, 40, 300, 300}, &alerts,
                                              fake_run_midi_ports(roster, recorder));
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(wait_until([&] { return FolderItem(0) == kEmptyLabel && FolderItem(1) == kEmptyLabel; }));
    }
    fs::path Folder(const std::string& name)
    {
        const fs::path folder = folders / name;
        fs::create_directories(folder);
        return folder;
    }
    std::string FolderItem(int drive) const { return shown_menu_text(window->DriveMenu(drive)->actions().at(0)); }
    // The labels of a drive menu's recent folders.
    std::vector<std::string> RecentItems(int drive) const
    {
        std::vector<std::string> labels;
        const QList<QAction*> actions = window->DriveMenu(drive)->actions();
        for (qsizetype i = 3; i < actions.size(); ++i) labels.push_back(shown_menu_text(actions.at(i)));
        return labels;
    }
    // Posts to the window as the application does, and waits for the view's answer.
    void SetFolder(int32_t drive, const fs::path& folder, uint32_t what = kRefsReceivedMessage)
    {
        window->PostMessage(folder_message(what, drive, folder));
        ASSERT_TRUE(wait_until([&] { return FolderItem(drive) == "(C)" + folder.filename().string() + " ..."; }));
    }
    void Settle()
    {
        for (int i = 0; i < 5; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    fs::path RecentFile() const { return SettingsFile("KivoBASIC", kRecentDrvFoldersFile); }
    std::vector<std::string> SavedRecent() const
    {
        TMRUF saved;
        EXPECT_EQ(saved.Load(RecentFile().string()), 0);
        std::vector<std::string> paths;
        for (int32_t i = 0; i < saved.CountMRUFs(); ++i) paths.push_back(saved.MRUFAt(i));
        return paths;
    }

    fs::path folders;
    platform::FakeMidiRoster roster;
    TMidiRecorder recorder;
    TRecordingAlertSink alerts;
    std::unique_ptr<TRunWindow> window;
};

TEST(DriveFolderItemText, ShowsTheMarkerInTheFormatThenTheName)
{
    struct Case {
        std::string format;
        std::string name;
        std::string label;
        QKeySequence mnemonic;
    };
    for (const Case& c : {Case{"\x02(a)", "work", "(C)work ...", QKeySequence(Qt::ALT | Qt::Key_C)},
                          Case{"", "work", "work ...", QKeySequence()},
                          Case{"\x01"
                               "a) ",
                               "work", "C) work ...", QKeySequence(Qt::ALT | Qt::Key_C)},
                          Case{"\x02(a)", "a & b", "(C)a & b ...", QKeySequence(Qt::ALT | Qt::Key_C)}}) {
        const QAction item(QString::fromStdString(drive_folder_item_text(c.format, c.name)));
        EXPECT_EQ(shown_menu_text(&item), c.label) << c.format;
        EXPECT_EQ(mnemonic_of(&item), c.mnemonic) << c.format;
    }
}

TEST_F(DriveMenus, AFolderSetMapsTheDriveAndTopsTheRecentList)
{
    Open();
    const fs::path work = Folder("work");
    SetFolder(0, work);
    EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(0), work.string());
    EXPECT_EQ(RecentItems(0), std::vector<std::string>{"work(0)"});
    EXPECT_EQ(RecentItems(1), std::vector<std::string>{"work(0)"});
    EXPECT_EQ(SavedRecent(), std::vector<std::string>{work.string()});

    // The editor's 'sdfr' comes through the application to the window.
    const fs::path lists = Folder("lists & more");
    SetFolder(0, lists, kSetDrvFolderMessage);
    EXPECT_EQ(FolderItem(0), "(C)lists & more ...");
    EXPECT_EQ(RecentItems(0), (std::vector<std::string>{"lists & more(0)", "work(1)"}));
}

TEST_F(DriveMenus, EjectEmptiesTheDriveAndLeavesTheRecentList)
{
    Open();
    SetFolder(1, Folder("two"));
    const std::string saved = Contents(RecentFile());
    window->PostMessage(drive_message(kEjectDrvFolderMessage, 1), window->RunView());
    ASSERT_TRUE(wait_until([&] { return FolderItem(1) == kEmptyLabel; }));
    EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(1), "");
    EXPECT_EQ(RecentItems(1), std::vector<std::string>{"two(0)"});
    EXPECT_EQ(Contents(RecentFile()), saved);
}

TEST_F(DriveMenus, ARecentFolderChosenMovesToTheTopOfBothMenus)
{
    TMRUF earlier;
    for (const char* name : {"c", "b", "a"}) earlier.AddMRUF(Folder(name).string());
    std::string entry;
    get_settings_entry("KivoBASIC", kRecentDrvFoldersFile, &entry);
    ASSERT_EQ(earlier.Save(entry), 0);
    Open();
    ASSERT_EQ(RecentItems(1), (std::vector<std::string>{"a(0)", "b(1)", "c(2)"}));

    window->DriveMenu(1)->actions().at(5)->trigger();
    ASSERT_TRUE(wait_until([&] { return FolderItem(1) == "(C)c ..."; }));
    EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(1), (folders / "c").string());
    EXPECT_EQ(RecentItems(0), (std::vector<std::string>{"c(0)", "a(1)", "b(2)"}));
    EXPECT_EQ(RecentItems(1), RecentItems(0));
    EXPECT_EQ(SavedRecent(),
              (std::vector<std::string>{(folders / "c").string(), (folders / "a").string(), (folders / "b").string()}));
}

TEST_F(DriveMenus, ElevenFoldersKeepTheTenLatest)
{
    Open();
    for (int i = 1; i <= 11; ++i) SetFolder(0, Folder("f" + std::to_string(i)));
    const std::vector<std::string> saved = SavedRecent();
    ASSERT_EQ(saved.size(), 10u);
    EXPECT_EQ(saved.front(), (folders / "f11").string());
    EXPECT_EQ(saved.back(), (folders / "f2").string());
    EXPECT_EQ(RecentItems(1).size(), 10u);
}

TEST_F(DriveMenus, FoldersThatCannotServeAreRefusedWithAnAlert)
{
    Open();
    const fs::path work = Folder("work");
    SetFolder(0, work);
    const fs::path file = folders / "plain.txt";
    std::ofstream(file) << "x";
    for (const fs::path& bad : {folders / "missing", file}) {
        alerts.Clear();
        window->PostMessage(folder_message(kRefsReceivedMessage, 0, bad));
        ASSERT_TRUE(wait_until([&] { return alerts.Count() == 1; })) << bad;
        EXPECT_NE(alerts.Last().find(bad.string()), std::string::npos) << alerts.Last();
        EXPECT_NE(alerts.Last().find("drive 1"), std::string::npos) << alerts.Last();
        EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(0), work.string()) << "the old mapping stays";
    }
    EXPECT_EQ(SavedRecent(), std::vector<std::string>{work.string()});
}

TEST_F(DriveMenus, AFolderThatVanishedReadsAsEmptyAndIsNotRecorded)
{
    Open();
    const fs::path gone = Folder("gone");
    SetFolder(0, gone);
    SetFolder(1, Folder("kept"));
    fs::remove(gone);
    window->SetLabelsCommon();
    ASSERT_TRUE(wait_until([&] { return FolderItem(0) == kEmptyLabel; }));
    Settle();
    EXPECT_EQ(SavedRecent(), (std::vector<std::string>{(folders / "kept").string(), gone.string()}));
}

TEST_F(DriveMenus, MessagesWithoutTheirFieldsOrWithOtherDrivesChangeNothing)
{
    Open();
    const fs::path work = Folder("work");
    SetFolder(1, work);
    for (int32_t drive : {2, -1, 14}) {
        platform::Message update = drive_message(kUpdateMenuDrvFolderMessage, drive);
        update.AddRef("DrvFolderERef", platform::EntryRef{Folder("other").string()});
        update.AddString("DrvFolderName", "other");
        window->PostMessage(update);
        window->PostMessage(folder_message(kRefsReceivedMessage, drive, Folder("other")));
        window->PostMessage(drive_message(kEjectDrvFolderMessage, drive), window->RunView());
    }
    window->PostMessage(platform::Message(kRefsReceivedMessage));
    window->PostMessage(platform::Message(kUpdateMenuDrvFolderMessage));
    Settle();
    EXPECT_EQ(FolderItem(0), kEmptyLabel);
    EXPECT_EQ(FolderItem(1), "(C)work ...");
    EXPECT_EQ(SavedRecent(), std::vector<std::string>{work.string()});
    EXPECT_EQ(alerts.Count(), 0u);
}

TEST_F(DriveMenus, ACorruptRecentFileGivesAnEmptyList)
{
    fs::create_directories(RecentFile().parent_path());
    std::ofstream(RecentFile(), std::ios::binary) << "not an archive at all";
    Open();
    EXPECT_TRUE(RecentItems(0).empty());
    EXPECT_EQ(window->RecentDrvFolders().CountMRUFs(), 0);
}

TEST_F(DriveMenus, ThePanelChoosesAFolderForTheDriveItWasOpenedFor)
{
    const fs::path start = Folder("start");
    const std::string savedPanelFolder = gExitStates.RunPanelFolder;
    gExitStates.RunPanelFolder = start.string();
    Open();
    window->DriveMenu(1)->actions().at(0)->trigger();
    ASSERT_TRUE(
        wait_until([&] { return window->DrvFolderPanel() != nullptr && window->DrvFolderPanel()->isVisible(); }));
    QFileDialog* panel = window->DrvFolderPanel();
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("Kivo-BASIC: Specify Drive Folder"));
    EXPECT_EQ(panel->labelText(QFileDialog::Accept), QStringLiteral("Specify"));
    EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(panel->testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(panel->windowModality(), Qt::NonModal);
    EXPECT_EQ(panel->directory().absolutePath().toStdString(), start.string());

    const fs::path chosen = Folder("chosen");
    emit panel->fileSelected(QString::fromStdString(chosen.string()));
    ASSERT_TRUE(wait_until([&] { return FolderItem(1) == "(C)chosen ..."; }));
    EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(1), chosen.string());
    EXPECT_EQ(window->RunView()->Session().Rsrc().DrvFolders.Get(0), "");

    panel->setDirectory(QString::fromStdString(chosen.string()));
    panel->reject();
    Settle();
    EXPECT_TRUE(window->Quit());
    EXPECT_EQ(gExitStates.RunPanelFolder, chosen.string());
    gExitStates.RunPanelFolder = savedPanelFolder;
}

TEST_F(DriveMenus, AStoredPanelFolderThatIsGoneOpensAtHome)
{
    const std::string savedPanelFolder = gExitStates.RunPanelFolder;
    gExitStates.RunPanelFolder = (folders / "gone").string();
    Open();
    window->PostMessage(drive_message(kSpecifyDrvFolderMessage, 0));
    ASSERT_TRUE(wait_until([&] { return window->DrvFolderPanel() != nullptr; }));
    EXPECT_EQ(window->DrvFolderPanel()->directory().absolutePath(), QDir::homePath());
    gExitStates.RunPanelFolder = savedPanelFolder;
}

// --- lamps ---

platform::Message lamp_message(int32_t drive, int32_t step)
{
    platform::Message message = drive_message(kFDDAccessLampMessage, drive);
    message.AddInt32("FDDALS", step);
    return message;
}

TEST_F(DriveMenus, OverlappingAccessesKeepTheLampLitUntilTheLastEnds)
{
    Open();
    struct Step {
        int32_t drive;
        int32_t step;
        int count;
        bool lit;
    };
    const Step steps[] = {
        {0, +1, 1, true}, {0, +1, 2, true},  {2, +1, 2, true},  // no lamp: nothing changes
        {0, -1, 1, true}, {0, -1, 0, false},
    };
    for (const Step& s : steps) {
        window->SetFDDAccessLampRqtd(lamp_message(s.drive, s.step));
        EXPECT_EQ(window->LampCount(0), s.count);
        EXPECT_EQ(window->LampLit(0), s.lit);
        EXPECT_FALSE(window->LampLit(1));
    }
    platform::Message noStep = drive_message(kFDDAccessLampMessage, 0);
    window->SetFDDAccessLampRqtd(noStep);
    EXPECT_EQ(window->LampCount(0), 0) << "a request without its step changes nothing";
}

TEST_F(DriveMenus, ALitLampPaintsTheDriveMenuTitle)
{
    Open();
    QMenuBar* bar = window->MenuBar();
    const QRect title = bar->actionGeometry(window->DriveMenu(1)->menuAction());
    const QPoint inside = title.topLeft() + QPoint(3, 3);
    auto colour_at = [&] { return bar->grab().toImage().pixel(inside) & 0xFFFFFF; };
    EXPECT_NE(colour_at(), kFDDAccessLampColor & 0xFFFFFF);
    window->SetFDDAccessLampRqtd(lamp_message(1, +1));
    EXPECT_EQ(colour_at(), kFDDAccessLampColor & 0xFFFFFF);
    window->SetFDDAccessLampRqtd(lamp_message(1, -1));
    EXPECT_NE(colour_at(), kFDDAccessLampColor & 0xFFFFFF);
}

class StepClock : public THostClock {
public:
    int64_t NowMicros() const override { return now; }
    void SleepMicros(int64_t) const override {}
    int64_t now = 1000000;
};

TEST_F(DriveMenus, TwoAccessesATenthApartLightTheLampThreeTenths)
{
    Open();
    StepClock clock;
    TDriveLampControl& lamps = window->RunView()->Session().Rsrc().DrvLamps;
    lamps.SetClock(&clock);
    const int64_t start = clock.now;
    auto at = [&](int64_t micros, bool request) {
        clock.now = start + micros;
        if (request) lamps.Request(0, window->RunView());
        lamps.SendDue();
        Settle();
        return window->LampCount(0);
    };
    EXPECT_EQ(at(0, true), 1);
    EXPECT_EQ(at(100000, true), 2);
    EXPECT_EQ(at(199999, false), 2);
    EXPECT_EQ(at(200000, false), 1);
    EXPECT_TRUE(window->LampLit(0));
    EXPECT_EQ(at(299999, false), 1);
    EXPECT_EQ(at(300000, false), 0);
    EXPECT_FALSE(window->LampLit(0));
    lamps.SetClock(nullptr);
}

// --- a program on the drives ---

TEST_F(DriveMenus, AProgramUsingAFileLightsItsDriveLampUntilItStops)
{
    Open();
    SetFolder(0, Folder("work"));
    ASSERT_TRUE(
        start_run(*window->RunView(), "10 OPEN \"1:LOG.TXT\" FOR OUTPUT AS #1\n20 PRINT #1,\"X\"\n30 GOTO 20\n"));
    ASSERT_TRUE(wait_until([&] { return window->LampLit(0); }));
    EXPECT_FALSE(window->LampLit(1));
    window->RunView()->Session().KillBasic();
    ASSERT_TRUE(wait_until([&] { return !window->LampLit(0); }));
    EXPECT_EQ(window->LampCount(0), 0);
}

TEST_F(DriveMenus, AProgramWritesIntoTheFolderOfItsDriveAndNowhereAfterEject)
{
    Open();
    const fs::path work = Folder("work");
    SetFolder(0, work);
    const std::string program = "10 OPEN \"1:OUT.TXT\" FOR OUTPUT AS #1\n20 PRINT #1,\"HELLO\"\n30 CLOSE #1\n";
    ASSERT_TRUE(start_run(*window->RunView(), program));
    ASSERT_TRUE(wait_until([&] { return window->RunView()->RunEnded(); }));
    EXPECT_EQ(alerts.Count(), 0u) << alerts.Last();
    EXPECT_EQ(Contents(work / "OUT.TXT"), "HELLO\r\n");
    fs::remove(work / "OUT.TXT");

    window->PostMessage(drive_message(kEjectDrvFolderMessage, 0), window->RunView());
    ASSERT_TRUE(wait_until([&] { return FolderItem(0) == kEmptyLabel; }));
    ASSERT_TRUE(start_run(*window->RunView(), program));
    ASSERT_TRUE(wait_until([&] { return window->RunView()->RunEnded(); }));
    EXPECT_EQ(alerts.Count(), 1u) << "a run-time error";
    EXPECT_FALSE(fs::exists(work / "OUT.TXT"));
    EXPECT_FALSE(fs::exists("OUT.TXT"));
    EXPECT_FALSE(fs::exists(root / "OUT.TXT"));
}

}  // namespace
