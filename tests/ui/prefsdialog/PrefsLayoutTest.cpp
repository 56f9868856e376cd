// The dialog's controls, labels, menus and keys.

#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include "foundation/IAPItemAccKeyFormat.h"
#include "tests/ui/prefsdialog/PrefsDialogTesting.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"

using namespace prefs_testing;

namespace {

using PrefsLayout = PrefsDialogFixture;

TEST_F(PrefsLayout, EveryNamedControlIsThereWithItsClass)
{
    Open();
    struct Row {
        const char* className;
        std::vector<const char*> names;
    };
    const Row rows[] = {
        {"QGroupBox", {"BoxAutoSave", "BoxOpen"}},
        {"QPushButton", {"ButtonCancel", "ButtonDefault", "ButtonHelp", "ButtonOK"}},
        {"QCheckBox",
         {"CBoxAutoSaveBeforeRun", "CBoxAutoSaveRegular", "CBoxBreakAtStart", "CBoxConvert98", "CBoxShowSplash",
          "CBoxSpeedControl", "CBoxWordWrap"}},
        {"QComboBox",
         {"MFieldCompatiMode", "MFieldDebugWinFontFamily", "MFieldDefaultEncoding", "MFieldMainWinFontFamily",
          "MFieldRunWinFontFamily"}},
        {"QToolButton", {"MFieldMidiOut"}},
        {"QSlider", {"SliderSpeedControl"}},
        {"QLabel", {"StrViewAutoSaveInterval", "StrViewSpeedControl"}},
        {"QLineEdit",
         {"TxtCtrlAutoSaveInterval", "TxtCtrlDebugWinFontSize", "TxtCtrlMainWinFontSize", "TxtCtrlMidiLatency",
          "TxtCtrlRunWinFontSize", "TxtCtrlSpeedControl", "TxtCtrlSsgVolume"}},
    };
    for (const Row& row : rows)
        for (const char* name : row.names) {
            QObject* control = window->findChild<QObject*>(QString::fromUtf8(name));
            ASSERT_NE(control, nullptr) << name;
            EXPECT_STREQ(control->metaObject()->className(), row.className) << name;
        }
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabViewPref"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->tabText(0), "Font");
    EXPECT_EQ(tabs->tabText(3), "Etc.");
    EXPECT_EQ(window->objectName(), "PrefWin");
    EXPECT_EQ(window->windowTitle(), "Preferences");
}

TEST_F(PrefsLayout, ControlsStandInTheirFrames)
{
    Open();
    EXPECT_EQ(window->size(), QSize(416, 296));
    EXPECT_EQ(Find<QPushButton>("ButtonOK")->geometry(), QRect(QPoint(315, 260), QPoint(395, 282)));
    EXPECT_EQ(Find<QPushButton>("ButtonHelp")->geometry(), QRect(QPoint(20, 260), QPoint(100, 282)));
    EXPECT_TRUE(Find<QPushButton>("ButtonOK")->isDefault());
    // A size field: its label takes 0.6 of the frame (240 to 360), the field the rest.
    auto* size = Find<QLineEdit>("TxtCtrlRunWinFontSize");
    EXPECT_EQ(size->geometry(), QRect(QPoint(240 + 72, 40), QPoint(360, 59)));
    // The compatibility-mode field runs at least to half the view's width (207.5, to
    // the nearest pixel), below the slider, and further when its items need it.
    auto* mode = Find<QComboBox>("MFieldCompatiMode");
    EXPECT_GE(mode->geometry().right(), 208);
    EXPECT_GE(mode->width(), mode->sizeHint().width()) << "\"Auto Detect\" shows whole";
    EXPECT_EQ(mode->geometry().top(), 141);
    EXPECT_EQ(Find<QSlider>("SliderSpeedControl")->geometry(), QRect(QPoint(25, 85), QPoint(305, 131)));
}

TEST_F(PrefsLayout, LabelsCarryTheirLettersAndTheAutoSaveRowFollowsItsCheckBox)
{
    Open();
    const std::string format = current_accelerator_format();
    EXPECT_EQ(control_label(Find<QWidget>("ButtonDefault")), merge_accelerator_key(format, "D", "Defaults"));
    EXPECT_EQ(control_label(Find<QWidget>("ButtonHelp")), merge_accelerator_key(format, "F1", "Help"));
    EXPECT_EQ(control_label(Find<QWidget>("ButtonCancel")), "Cancel");
    EXPECT_EQ(control_label(Find<QWidget>("TxtCtrlDebugWinFontSize")), merge_accelerator_key(format, "3", "Size: "));
    EXPECT_EQ(Find<QToolButton>("MFieldMidiOut")->text(), "Ports...") << "the field shows its marks, not its label";
    auto* unit = Find<QLabel>("StrViewSpeedControl");
    EXPECT_EQ(unit->text(), "[us]");
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("SliderSpeedControlMaxLabel"))->text(), "10 [s]");

    auto* box = Find<QCheckBox>("CBoxAutoSaveRegular");
    auto* interval = Find<QLineEdit>("TxtCtrlAutoSaveInterval");
    auto* minutes = Find<QLabel>("StrViewAutoSaveInterval");
    EXPECT_GT(box->width(), 23) << "fitted to its label";
    EXPECT_EQ(interval->y(), box->y());
    EXPECT_EQ(interval->x(), box->x() + box->width() + 3) << "behind the field's 3-pixel divider";
    EXPECT_EQ(minutes->x(), interval->geometry().right() + 10);
    EXPECT_EQ(minutes->text(), "minutes");
}

TEST_F(PrefsLayout, AChangedAcceleratorFormatReMergesEveryLabelAtOnce)
{
    gIAPs.AddItem(new TIAPItemAccKeyFormat);
    ASSERT_EQ(gIAPs.SetString("AccKeyFormat2", kDefaultAccKeyFormat), 0);
    Open();
    const std::string before = control_label(Find<QWidget>("ButtonDefault"));

    const std::string format = "\x01"
                               "a) ";
    ASSERT_EQ(gIAPs.SetString("AccKeyFormat2", format), 0);
    Message other(kIAPChangedMessage);
    other.AddString("IAP:SrcIAPItem", "FlatToolBar");
    window->PostMessage(other);
    Settle();
    EXPECT_EQ(control_label(Find<QWidget>("ButtonDefault")), before) << "another item's notice changes nothing";

    Message notice(kIAPChangedMessage);
    notice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
    window->PostMessage(notice);
    Settle();
    EXPECT_EQ(control_label(Find<QWidget>("ButtonDefault")), "D) Defaults");
    EXPECT_EQ(control_label(Find<QWidget>("CBoxWordWrap")), "W) Word wrap in edit window");
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("MFieldMainWinFontFamilyLabel"))->text(), "M) Main Window: ");
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("MFieldMidiOutLabel"))->text(), "O) MIDI OUT: ");
    ASSERT_EQ(gIAPs.SetString("AccKeyFormat2", kDefaultAccKeyFormat), 0);
}

TEST_F(PrefsLayout, WithoutFontsTheFontMenusAreEmptyAndNothingIsMarked)
{
    Open({});
    for (const char* name : {"MFieldMainWinFontFamily", "MFieldRunWinFontFamily", "MFieldDebugWinFontFamily"}) {
        auto* field = Find<QComboBox>(name);
        EXPECT_EQ(field->count(), 0) << name;
        EXPECT_EQ(field->currentIndex(), -1) << name;
        EXPECT_EQ(field->placeholderText(), "Select...") << name;
    }
    EXPECT_EQ(gPrefs.MainFontFamily(), "Zado Vereru");
}

TEST_F(PrefsLayout, AFamilyNoLongerInstalledMarksTheFirstAndStaysStored)
{
    gPrefs.SetRunFontFamily("Gone Gothic");
    Open();
    EXPECT_EQ(Find<QComboBox>("MFieldRunWinFontFamily")->currentText(), "Alpha Sans");
    EXPECT_EQ(Find<QComboBox>("MFieldMainWinFontFamily")->currentText(), "Zado Vereru");
    EXPECT_EQ(gPrefs.RunFontFamily(), "Gone Gothic");
    EXPECT_EQ(sink.Count(kPrefsRunFontChanged), 0);
}

TEST_F(PrefsLayout, AnOverLongFamilyIsStoredCutAndStillMarkedByItsWholeName)
{
    // 30 two-byte characters: 60 bytes, then "ーー" (3 bytes each) passes 62.
    const QString longName = QString(30, QChar(0x00E9)) + QStringLiteral("ーー");
    Open(QStringList{QStringLiteral("Alpha Sans"), longName});
    Choose("MFieldDebugWinFontFamily", 1);
    EXPECT_EQ(gPrefs.DebugFontFamily().size(), 60u) << "cut before the character that does not fit";
    EXPECT_EQ(sink.Count(kPrefsDebugFontChanged), 1) << "a chosen family is announced at once";
    Choose("MFieldDebugWinFontFamily", 0);
    gPrefs.SetDebugFontFamily(longName.toStdString());
    view->UpdateCompos();
    EXPECT_EQ(Find<QComboBox>("MFieldDebugWinFontFamily")->currentIndex(), 1);
}

TEST_F(PrefsLayout, OnlyNamedConsumersAreListed)
{
    roster.AddConsumer(platform::midi_endpoint_id(30, 0), "<anonymous>");
    roster.AddConsumer(platform::midi_endpoint_id(31, 0), "<anonymous>x");
    Open();
    QStringList labels;
    for (QAction* item : view->MidiOutMenu()->actions()) labels << item->text();
    EXPECT_EQ(labels, QStringList({"Synth A", "Synth B", "<anonymous>x"}));
}

TEST_F(PrefsLayout, WithoutARosterTheOutputMenuIsEmpty)
{
    TPrefsServices services;
    services.sink = &sink;
    services.fontFamilies = [] { return kFamilies; };
    TPrefsWindow lone(platform::Rect{0, 0, 10, 10}, services);
    EXPECT_TRUE(lone.View()->MidiOutMenu()->actions().isEmpty());
}

TEST_F(PrefsLayout, EscapeCancelsAfterThePushedLook)
{
    Open();
    Click("CBoxWordWrap");
    ASSERT_TRUE(gPrefs.WordWrap.load());
    auto* cancel = Find<QPushButton>("ButtonCancel");
    QTest::keyClick(Find<QLineEdit>("TxtCtrlMainWinFontSize"), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancel->isDown(); }, 5000));
    EXPECT_FALSE(window->isHidden()) << "the button shows pushed first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isHidden(); }, 5000));
    Settle();
    EXPECT_FALSE(gPrefs.WordWrap.load());
    EXPECT_EQ(sink.Count(kPrefsWordWrapChanged), 2);
}

TEST_F(PrefsLayout, F1AsksForHelpAfterThePushedLook)
{
    Open();
    auto* help = Find<QPushButton>("ButtonHelp");
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return help->isDown(); }, 5000));
    EXPECT_EQ(sink.Count(kHelpMessage), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(kHelpMessage) == 1; }, 5000));
    EXPECT_FALSE(window->isHidden());
}

TEST_F(PrefsLayout, TheCloseBoxCancelsAndHidesButTheApplicationsQuitDoesNot)
{
    Open();
    Click("CBoxShowSplash");
    ASSERT_FALSE(gPrefs.ShowSplash.load());
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isHidden(); }, 5000));
    Settle();
    EXPECT_TRUE(gPrefs.ShowSplash.load()) << "cancelled";
    EXPECT_EQ(view, window->View()) << "kept for the next use";

    window->Appear();
    Click("CBoxShowSplash");
    EXPECT_TRUE(window->QuitForApplication());
    EXPECT_FALSE(gPrefs.ShowSplash.load()) << "a quit without a message cancels nothing";
}

}  // namespace
