// The dialogs' commands in the running application: the menu items that open them,
// Renumber and Go to Line on the edited list, and the document type at the first start.

#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ShellTesting.h"
#include "foundation/PrefsMessages.h"
#include "machine/devices/ScreenText.h"
#include "tests/TestPaths.h"
#include "ui/app/AppMessages.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/appdialogs/AppDialogs.h"
#include "ui/runwindow/RunWindow.h"
#include "ui/widgets/SimpleInput.h"

namespace {

using namespace shell_testing;

class DialogCommands : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        app = std::make_unique<TBasicApp>();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (app && !app->IsQuitting()) app->Quit();
        app.reset();
        ShellFixture::TearDown();
    }
    TKivoBasicView* Editor() const { return app->MainWindow()->BasicView(); }
    TRunView* RunView() const { return app->RunWindow()->RunView(); }
    std::string Screen() const { return shown_screen_text(RunView()->Session().Rsrc()); }
    // Runs the edited list as the Run item does and waits for its end.
    void RunToEnd()
    {
        app->MainWindow()->PostMessage(kRunMessage, Editor());
        ASSERT_TRUE(wait_until([&] { return RunView()->VMachine() != nullptr && RunView()->RunEnded(); }));
    }
    static std::string Fixture(const char* name)
    {
        std::ifstream in(test_paths::FixtureDir() + "/ui/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::unique_ptr<TBasicApp> app;
};

TEST_F(DialogCommands, TheApplicationHandlesEveryDialogCommand)
{
    for (uint32_t what : {kGoToLineMessage, kRunLineMessage, kRenumberMessage, kRegisterMimeMessage,
                          kCommonPrefsMessage, kHelpMessage, kAboutRequestedMessage})
        EXPECT_TRUE(app->HandlesCommand(what)) << std::hex << what;
    for (uint32_t what : {kGoToLineRequest, kRenumberRequest, kRunLineRequest})
        EXPECT_TRUE(Editor()->HandlesCommand(what)) << std::hex << what;
}

TEST_F(DialogCommands, GoToLineFromTheMenuOpensItsDialogBelowTheMainWindow)
{
    app->PostMessage(platform::Message(kGoToLineMessage));
    ASSERT_TRUE(wait_until([&] { return app->Dialogs()->GoToLineWin() != nullptr; }));
    TSimpleInputWindow* dialog = app->Dialogs()->GoToLineWin();
    EXPECT_FALSE(dialog->IsHidden());
    EXPECT_EQ(dialog->Frame().top, app->MainWindow()->Frame().top + 20);
}

TEST_F(DialogCommands, ARenumberedListRunsTheSameAndItsNewLinesAreFound)
{
    const std::string list = Fixture("renum.bas");
    ASSERT_FALSE(list.empty());
    Editor()->TextView()->SetText(list);
    RunToEnd();
    const std::string shown = "FORTY\nTHIRTY\nOk\n";
    ASSERT_NE(Screen().find(" 1\n" + shown), std::string::npos) << Screen();

    platform::Message renumber(kRenumberRequest);
    renumber.AddInt32("NewLine", 100);
    renumber.AddInt32("OldLine", 1);
    renumber.AddInt32("Step", 10);
    app->MainWindow()->PostMessage(renumber, Editor());
    ASSERT_TRUE(wait_until([&] { return Editor()->TextView()->Text() != list; }));
    EXPECT_EQ(Editor()->TextView()->Text(),
              "100 RESTORE 140:READ A:PRINT A:GOTO 110\n110 ON A GOTO 120,130\n120 GOSUB 130:PRINT \"THIRTY\":END\n"
              "130 PRINT \"FORTY\":RETURN\n140 DATA 1\n");
    EXPECT_TRUE(Editor()->TextView()->IsModified());

    const size_t before = Screen().size();
    RunToEnd();
    EXPECT_NE(Screen().find(" 1\n" + shown, before > 40 ? before - 40 : 0), std::string::npos) << Screen();

    platform::Message goTo(kGoToLineRequest);
    goTo.AddString(kSimpleInputTextField, "120");
    app->MainWindow()->PostMessage(goTo, Editor());
    ASSERT_TRUE(wait_until([&] { return Editor()->TextView()->textCursor().blockNumber() == 2; }));
}

TEST_F(DialogCommands, TheFirstStartInstallsTheDocumentTypeInTheUsersDataFolder)
{
    EXPECT_TRUE(std::filesystem::exists(root / "data/mime/packages/kivo-basic.xml"));
    EXPECT_FALSE(std::filesystem::exists(root / "data/applications/kivo-basic.desktop"))
        << "the preferred application is the Register MIME command's";
}

}  // namespace
