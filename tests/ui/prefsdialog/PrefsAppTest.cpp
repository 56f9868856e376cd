// The dialog inside the application: Tool > Preferences... opens it, its notices reach
// the windows they concern, and OK is reported in the main window's status bar.

#include <QLabel>
#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/prefsdialog/PrefsDialogTesting.h"
#include "ui/app/AppMessages.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicView.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/runwindow/RunWindow.h"

using namespace prefs_testing;

namespace {

class PrefsInApp : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        gPrefs = TPrefs();
        gPrefs.ShowSplash = false;
        app = std::make_unique<TBasicApp>();
    }
    void TearDown() override
    {
        app->Quit();
        app.reset();
        gPrefs = TPrefs();
        SettingsDirFixture::TearDown();
    }
    TPrefsWindow* OpenDialog()
    {
        app->PostMessage(kPreferencesMessage);
        EXPECT_TRUE(QTest::qWaitFor([&] { return app->PrefsWindow() && !app->PrefsWindow()->isHidden(); }, 5000));
        return app->PrefsWindow();
    }

    std::unique_ptr<TBasicApp> app;
};

TEST_F(PrefsInApp, ThePreferencesCommandOpensOneDialogBelowTheMainWindow)
{
    TPrefsWindow* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Frame().top, app->MainWindow()->Frame().top + 20);
    dialog->Hide();
    EXPECT_EQ(OpenDialog(), dialog) << "the same window again";
}

// Keeps every text the status bar was painted with.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* label) : mLabel(label) { label->installEventFilter(this); }
    std::vector<std::string> texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == mLabel && event->type() == QEvent::Paint) texts.push_back(mLabel->text().toStdString());
        return false;
    }

private:
    QLabel* mLabel;
};

TEST_F(PrefsInApp, TheStatusBarAsksForAMomentWhileTheDialogIsBuilt)
{
    QLabel* status = app->MainWindow()->BasicView()->StatusBar();
    app->MainWindow()->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainWindow()));
    app->MainWindow()->SetStatBarStr("Ready.");
    PaintedTexts painted(status);
    ASSERT_NE(OpenDialog(), nullptr);
    EXPECT_NE(std::find(painted.texts.begin(), painted.texts.end(), " Just a moment..."), painted.texts.end());
    EXPECT_EQ(status->text().toStdString(), "");
}

TEST_F(PrefsInApp, ARunFontSizeReachesTheRunViewAndOKIsReported)
{
    TPrefsWindow* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    TRunView* run = app->RunWindow()->RunView();
    const int before = run->RunFont().pixelSize() > 0 ? run->RunFont().pixelSize() : run->RunFont().pointSize();
    dialog->View()->SetDelaySender(20000);
    auto* size = qobject_cast<QLineEdit*>(dialog->View()->Control("TxtCtrlRunWinFontSize"));
    size->setText(QStringLiteral("30"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QFont& font = run->RunFont();
            return (font.pixelSize() > 0 ? font.pixelSize() : font.pointSize()) != before;
        },
        5000))
        << "the run view takes the new size";
    qobject_cast<QPushButton*>(dialog->View()->Control("ButtonOK"))->click();
    QLabel* status = app->MainWindow()->BasicView()->StatusBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text().contains(QStringLiteral("Preferences changed.")); }, 5000));
    EXPECT_TRUE(dialog->isHidden());
}

TEST_F(PrefsInApp, MidiMenuRequestsReachAnOpenDialogAndAreDroppedBeforeIt)
{
    app->PostMessage(kRecreateMenuMidiOutRqtd);
    app->PostMessage(kUpdateMenuMidiOutRqtd);
    QTest::qWait(50);
    EXPECT_EQ(app->PrefsWindow(), nullptr) << "nothing made for them";
    TPrefsWindow* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    gPrefs.SetMidiOutputs({"Synth A"});
    app->PostMessage(kUpdateMenuMidiOutRqtd);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->View()->Snapshot().MidiOutputs().size() == 1; }, 5000))
        << "the dialog's confirmed list follows";
}

}  // namespace
