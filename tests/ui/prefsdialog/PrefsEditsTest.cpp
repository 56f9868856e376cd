// What each control writes to gPrefs, the notices it sends, and OK, Cancel and Defaults.

#include <QSignalSpy>
#include <QToolButton>

#include "tests/ui/prefsdialog/PrefsDialogTesting.h"

using namespace prefs_testing;

namespace {

using PrefsEdits = PrefsDialogFixture;

TEST_F(PrefsEdits, TypingASizeStoresEachStepAndAnnouncesItOnceAfterThePause)
{
    Open();
    // Moves the clock to just before the end of the pause: the wait has seen the new
    // time and goes on, one notice waits and nothing has reached the application.
    auto waitsUntilJustBeforeTheEnd = [&] {
        ASSERT_TRUE(clock.WaitForParked(1)) << "a wait has started";
        clock.Advance(kPrefsFontNoticeDelay - 1);
        ASSERT_TRUE(clock.WaitForParked(1)) << "the wait has seen the new time";
        Settle();
        EXPECT_EQ(view->CountPendingNotices(), 1) << "one notice waits";
        EXPECT_EQ(sink.Count(kPrefsMainFontChanged), 0);
    };
    auto* field = Find<QLineEdit>("TxtCtrlMainWinFontSize");
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(gPrefs.MainFontSize.load(), 11.0f) << "an empty field stores nothing";
    QTest::keyClick(field, Qt::Key_1);
    Settle();
    EXPECT_EQ(gPrefs.MainFontSize.load(), 5.0f);
    ASSERT_NO_FATAL_FAILURE(waitsUntilJustBeforeTheEnd());
    QTest::keyClick(field, Qt::Key_2);
    Settle();
    EXPECT_EQ(gPrefs.MainFontSize.load(), 12.0f);
    // The second key started the pause again: the end of the first passes here.
    ASSERT_NO_FATAL_FAILURE(waitsUntilJustBeforeTheEnd());
    clock.Advance(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(kPrefsMainFontChanged) == 1; }, 10000));
    EXPECT_EQ(view->CountPendingNotices(), 0);
    // Give a wrongly kept wait the time to end and its notice the time to arrive.
    clock.Advance(3 * kPrefsFontNoticeDelay);
    ASSERT_TRUE(clock.WaitForNoWaiters());
    Settle();
    EXPECT_EQ(sink.Codes(), std::vector<uint32_t>{kPrefsMainFontChanged});
}

TEST_F(PrefsEdits, ASizeTextWithoutANumberStoresNothing)
{
    Open();
    for (const char* text : {"abc", "nan", "-nan"}) {
        SetText("TxtCtrlRunWinFontSize", QString::fromUtf8(text));
        EXPECT_EQ(gPrefs.RunFontSize.load(), 14.0f) << text;
        EXPECT_EQ(Find<QLineEdit>("TxtCtrlRunWinFontSize")->text(), text) << "kept as typed";
    }
    SettleNotices();
    EXPECT_EQ(sink.Count(kPrefsRunFontChanged), 0);
    SetText("TxtCtrlRunWinFontSize", "inf");
    EXPECT_EQ(gPrefs.RunFontSize.load(), 50.0f);
    SetText("TxtCtrlDebugWinFontSize", "2.5");
    EXPECT_EQ(gPrefs.DebugFontSize.load(), 5.0f);
    SettleNotices();
    EXPECT_EQ(sink.Count(kPrefsRunFontChanged), 1);
    EXPECT_EQ(sink.Count(kPrefsDebugFontChanged), 1);
}

TEST_F(PrefsEdits, NumberFieldsStoreClampedValuesAndKeepTheirText)
{
    Open();
    struct Case {
        const char* field;
        const char* text;
        std::function<int64_t()> stored;
        int64_t value;
        uint32_t notice;  // 0: none
    };
    auto interval = [] { return int64_t{gPrefs.AutoSaveInterval.load()}; };
    auto latency = [] { return gPrefs.MidiDelay.load(); };
    auto volume = [] { return int64_t{gPrefs.SoundVolume.load()}; };
    const Case cases[] = {
        {"TxtCtrlAutoSaveInterval", "0", interval, 1, kPrefsAutoSaveChanged},
        {"TxtCtrlAutoSaveInterval", "150", interval, 99, kPrefsAutoSaveChanged},
        {"TxtCtrlAutoSaveInterval", "abc", interval, 1, kPrefsAutoSaveChanged},
        {"TxtCtrlMidiLatency", "3001", latency, 3000000, 0},
        {"TxtCtrlMidiLatency", "3000000", latency, 3000000, 0},
        {"TxtCtrlMidiLatency", "-5", latency, 0, 0},
        {"TxtCtrlMidiLatency", "12", latency, 12000, 0},
        {"TxtCtrlSsgVolume", "250", volume, 200, 0},
        {"TxtCtrlSsgVolume", "-1", volume, 0, 0},
    };
    for (const Case& c : cases) {
        sink.Clear();
        SetText(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(c.stored(), c.value) << c.field << " " << c.text;
        EXPECT_EQ(Find<QLineEdit>(c.field)->text(), c.text);
        EXPECT_EQ(sink.Codes(), c.notice ? std::vector<uint32_t>{c.notice} : std::vector<uint32_t>{}) << c.text;
    }
}

TEST_F(PrefsEdits, CheckBoxesStoreTheirValueAndSomeAnnounceIt)
{
    Open();
    struct Case {
        const char* box;
        std::function<bool()> stored;
        uint32_t notice;  // 0: none
    };
    const Case cases[] = {
        {"CBoxConvert98", [] { return gPrefs.ConvertPC98Chars.load(); }, 0},
        {"CBoxWordWrap", [] { return gPrefs.WordWrap.load(); }, kPrefsWordWrapChanged},
        {"CBoxAutoSaveRegular", [] { return gPrefs.AutoSaveRegularly.load(); }, kPrefsAutoSaveChanged},
        {"CBoxAutoSaveBeforeRun", [] { return gPrefs.AutoSaveBeforeRun.load(); }, 0},
        {"CBoxShowSplash", [] { return gPrefs.ShowSplash.load(); }, 0},
        {"CBoxBreakAtStart", [] { return gPrefs.BreakAtStart.load(); }, 0},
        {"CBoxSpeedControl", [] { return gPrefs.UseSpeedControl.load(); }, kPrefsSpeedControlChanged},
    };
    for (const Case& c : cases) {
        sink.Clear();
        const bool before = c.stored();
        Click(c.box);
        EXPECT_NE(c.stored(), before) << c.box;
        EXPECT_EQ(Find<QCheckBox>(c.box)->isChecked(), c.stored()) << c.box;
        EXPECT_EQ(sink.Codes(), c.notice ? std::vector<uint32_t>{c.notice} : std::vector<uint32_t>{}) << c.box;
    }
}

TEST_F(PrefsEdits, TheIntervalFieldFollowsItsCheckBox)
{
    Open();
    auto* interval = Find<QLineEdit>("TxtCtrlAutoSaveInterval");
    EXPECT_TRUE(interval->isEnabled());
    Click("CBoxAutoSaveRegular");
    EXPECT_FALSE(interval->isEnabled());
}

TEST_F(PrefsEdits, TheSpeedTextMovesTheSliderToItsLeadingDigit)
{
    gPrefs.UseSpeedControl = true;
    Open();
    auto* slider = Find<QSlider>("SliderSpeedControl");
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_EQ(slider->value(), 20);
    SetText("TxtCtrlSpeedControl", "50");
    EXPECT_EQ(gPrefs.SpeedControlInterval.load(), 100);
    EXPECT_EQ(slider->value(), 1);
    SetText("TxtCtrlSpeedControl", "290");
    EXPECT_EQ(gPrefs.SpeedControlInterval.load(), 290);
    EXPECT_EQ(slider->value(), 2);
    EXPECT_EQ(Find<QLineEdit>("TxtCtrlSpeedControl")->text(), "290");
    EXPECT_TRUE(sink.Codes().empty()) << "the interval has no notice";
}

TEST_F(PrefsEdits, DraggingTheSliderWritesTheFieldWithoutAnEcho)
{
    gPrefs.UseSpeedControl = true;
    Open();
    auto* slider = Find<QSlider>("SliderSpeedControl");
    auto* field = Find<QLineEdit>("TxtCtrlSpeedControl");
    QSignalSpy edits(field, &QLineEdit::textChanged);
    slider->setSliderDown(true);
    for (int position = 21; position <= 25; ++position) slider->setValue(position);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->text() == "70000"; }, 5000)) << "moves are taken while dragging";
    slider->setValue(20);
    slider->setSliderDown(false);
    Settle();
    EXPECT_EQ(gPrefs.SpeedControlInterval.load(), 20000);
    EXPECT_EQ(field->text(), "20000");
    EXPECT_EQ(edits.count(), 0) << "the field's own message stayed away";
    slider->setValue(46);
    Settle();
    EXPECT_EQ(gPrefs.SpeedControlInterval.load(), 10000000);
    EXPECT_EQ(field->text(), "10000000");
}

TEST_F(PrefsEdits, TheSpeedControlsFollowTheirSwitch)
{
    Open();
    auto* slider = Find<QSlider>("SliderSpeedControl");
    auto* field = Find<QLineEdit>("TxtCtrlSpeedControl");
    auto* unit = Find<QWidget>("StrViewSpeedControl");
    EXPECT_FALSE(slider->isEnabled());
    EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(unit->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    Click("CBoxSpeedControl");
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(unit->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(PrefsEdits, TheEncodingDecidesWhetherPC98CharactersCanBeConverted)
{
    Open();
    auto* convert = Find<QCheckBox>("CBoxConvert98");
    struct Case {
        int index;
        bool enabled;
    };
    const Case cases[] = {{2, false}, {0, true}, {3, false}, {4, true}};
    for (const Case& c : cases) {
        sink.Clear();
        Choose("MFieldDefaultEncoding", c.index);
        EXPECT_EQ(gPrefs.DefaultEncoding.load(), c.index);
        EXPECT_EQ(convert->isEnabled(), c.enabled) << c.index;
        EXPECT_TRUE(convert->isChecked()) << "the mark stays as \"Cv98\" is";
        EXPECT_EQ(sink.Codes(), std::vector<uint32_t>{kPrefsDefaultEncodingChanged});
    }
    gPrefs.ConvertPC98Chars = false;
    Choose("MFieldDefaultEncoding", 0);
    EXPECT_FALSE(convert->isChecked());
}

TEST_F(PrefsEdits, TheGreyedConvertBoxIgnoresItsLetter)
{
    Open();
    auto* convert = Find<QCheckBox>("CBoxConvert98");
    auto* size = Find<QLineEdit>("TxtCtrlMainWinFontSize");
    for (int index : {2, 0}) {
        SCOPED_TRACE(index);
        Choose("MFieldDefaultEncoding", index);
        const bool before = gPrefs.ConvertPC98Chars.load();
        size->setFocus();
        QTest::keyClick(size, Qt::Key_9, Qt::AltModifier);
        Settle();
        // Only the enabled box (with the automatic encoding) takes the letter.
        EXPECT_EQ(gPrefs.ConvertPC98Chars.load(), convert->isEnabled() ? !before : before);
        EXPECT_EQ(convert->isChecked(), gPrefs.ConvertPC98Chars.load());
    }
}

TEST_F(PrefsEdits, ACompatibilityModeIsStoredWithoutANotice)
{
    Open();
    Choose("MFieldCompatiMode", 3);
    EXPECT_EQ(gPrefs.CompatMode.load(), 3);
    Choose("MFieldCompatiMode", 2);
    EXPECT_EQ(gPrefs.CompatMode.load(), 2);
    EXPECT_TRUE(sink.Codes().empty());
}

TEST_F(PrefsEdits, AStoredIndexWithoutAnItemMarksNothing)
{
    gPrefs.DefaultEncoding = 1;  // the separator's place
    gPrefs.CompatMode = 7;
    Open();
    EXPECT_EQ(Find<QComboBox>("MFieldDefaultEncoding")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>("MFieldCompatiMode")->currentIndex(), -1);
}

TEST_F(PrefsEdits, ChoosingAnOutputTogglesItInTheList)
{
    gPrefs.SetMidiOutputs({"Synth A"});
    Open();
    QAction* synthA = MidiItem("Synth A");
    ASSERT_NE(synthA, nullptr);
    EXPECT_TRUE(synthA->isChecked());
    EXPECT_EQ(Find<QToolButton>("MFieldMidiOut")->text(), "Synth A");

    synthA->trigger();
    Settle();
    EXPECT_TRUE(gPrefs.MidiOutputs().empty());
    EXPECT_FALSE(MidiItem("Synth A")->isChecked());
    ASSERT_EQ(sink.Messages().size(), 1u);
    Message first = sink.Messages()[0];
    EXPECT_EQ(first.what, kPrefMidiOutChanged);
    int32_t id = 0;
    bool taken = false;
    EXPECT_EQ(first.FindInt32("be:id", &id), platform::kOk);
    EXPECT_EQ(id, platform::midi_endpoint_id(20, 0));
    EXPECT_EQ(first.FindBool("MODis", &taken), platform::kOk);
    EXPECT_TRUE(taken);

    MidiItem("Synth B")->trigger();
    MidiItem("Synth A")->trigger();
    Settle();
    EXPECT_EQ(gPrefs.MidiOutputs(), (std::vector<std::string>{"Synth B", "Synth A"}));
    EXPECT_EQ(Find<QToolButton>("MFieldMidiOut")->text(), "Synth A, Synth B");
    Message last = sink.Messages().back();
    EXPECT_EQ(last.FindBool("MODis", &taken), platform::kOk);
    EXPECT_FALSE(taken);
}

// Two consumers may bear one name; "CoMO" holds names. A name stays listed while any
// consumer of that name is connected, and only the consumers really connected are
// checked: while none of the name is, the first of the name, which the run view
// connects.
TEST_F(PrefsEdits, SameNamedOutputsKeepTheirNameWhileOneIsConnected)
{
    const int32_t first = platform::midi_endpoint_id(20, 0);
    const int32_t second = platform::midi_endpoint_id(22, 0);
    roster.AddConsumer(second, "Synth A");
    gPrefs.SetMidiOutputs({"Synth A"});
    roster.Connect(first);
    Open();
    // The menu follows the roster: Synth A (20), Synth B (21), Synth A (22).
    const QList<QAction*> items = view->MidiOutMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    auto marks = [&] {
        std::vector<bool> checked;
        for (QAction* item : view->MidiOutMenu()->actions()) checked.push_back(item->isChecked());
        return checked;
    };
    auto last_notice = [&](int32_t* id, bool* taken) {
        ASSERT_FALSE(sink.Messages().empty());
        const Message notice = sink.Messages().back();
        ASSERT_EQ(notice.what, kPrefMidiOutChanged);
        ASSERT_EQ(notice.FindInt32("be:id", id), platform::kOk);
        ASSERT_EQ(notice.FindBool("MODis", taken), platform::kOk);
    };
    EXPECT_EQ(marks(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Find<QToolButton>("MFieldMidiOut")->text(), "Synth A");

    // Choosing the unconnected one of the name keeps the name.
    items[2]->trigger();
    Settle();
    EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth A"});
    int32_t id = 0;
    bool taken = true;
    last_notice(&id, &taken);
    EXPECT_EQ(id, second);
    EXPECT_FALSE(taken);
    EXPECT_EQ(marks(), (std::vector<bool>{true, false, false}));

    // Both connected: both checked, the name shown once; unchoosing either keeps the
    // name, for the other is still connected.
    roster.Connect(second);
    window->PostMessage(Message(kUpdateMenuMidiOutRqtd));
    Settle();
    EXPECT_EQ(marks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Find<QToolButton>("MFieldMidiOut")->text(), "Synth A");
    for (const int index : {2, 0}) {
        items[index]->trigger();
        Settle();
        EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth A"}) << index;
        last_notice(&id, &taken);
        EXPECT_FALSE(taken) << index;
    }

    // With the second one gone from the connections, unchoosing the first takes the
    // name out.
    roster.Disconnect(second);
    window->PostMessage(Message(kUpdateMenuMidiOutRqtd));
    Settle();
    EXPECT_EQ(marks(), (std::vector<bool>{true, false, false}));
    items[0]->trigger();
    Settle();
    EXPECT_TRUE(gPrefs.MidiOutputs().empty());
    last_notice(&id, &taken);
    EXPECT_EQ(id, first);
    EXPECT_TRUE(taken);
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, false}));
}

TEST_F(PrefsEdits, AnOutputThatIsGoneChangesNothing)
{
    Open();
    QAction* synthB = MidiItem("Synth B");
    roster.RemoveConsumer(platform::midi_endpoint_id(21, 0));
    synthB->trigger();
    Settle();
    EXPECT_TRUE(gPrefs.MidiOutputs().empty());
    EXPECT_TRUE(sink.Codes().empty());
}

TEST_F(PrefsEdits, ConnectionsMadeElsewhereAreMarkedAndCancelKeepsThem)
{
    Open();
    gPrefs.SetMidiOutputs({"Synth B"});
    window->PostMessage(Message(kUpdateMenuMidiOutRqtd));
    Settle();
    EXPECT_TRUE(MidiItem("Synth B")->isChecked());
    roster.AddConsumer(platform::midi_endpoint_id(40, 0), "Piano");
    window->PostMessage(Message(kRecreateMenuMidiOutRqtd));
    Settle();
    ASSERT_NE(MidiItem("Piano"), nullptr);
    EXPECT_TRUE(MidiItem("Synth B")->isChecked());
    Click("ButtonCancel");
    EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth B"});
    EXPECT_EQ(sink.Count(kPrefMidiOutChanged), 0);
}

TEST_F(PrefsEdits, CancelPutsBackAndAnnouncesEachChangeAgain)
{
    Open();
    Click("CBoxWordWrap");
    Choose("MFieldMainWinFontFamily", 0);
    SetText("TxtCtrlSsgVolume", "150");
    Click("ButtonCancel");
    SettleNotices();
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(gPrefs.WordWrap.load());
    EXPECT_EQ(gPrefs.MainFontFamily(), "Zado Vereru");
    EXPECT_EQ(gPrefs.SoundVolume.load(), 80);
    EXPECT_EQ(Find<QLineEdit>("TxtCtrlSsgVolume")->text(), "80");
    EXPECT_EQ(sink.Count(kPrefsWordWrapChanged), 2);
    // Once chosen, once in Cancel's differences, once after the shown size.
    EXPECT_EQ(sink.Count(kPrefsMainFontChanged), 3);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile(kSettingsFolder, kPrefsFile))) << "nothing saved";
}

TEST_F(PrefsEdits, CancelWithoutChangesSendsNoDifference)
{
    Open();
    Click("ButtonCancel");
    SettleNotices();
    // Only the notices of the values shown again: the interval field answers with
    // 'parc', each size field with its font notice; a difference would add a second.
    EXPECT_EQ(sink.Count(kPrefsAutoSaveChanged), 1);
    for (uint32_t code : kDifferenceNotices) {
        const bool shownSize =
            code == kPrefsMainFontChanged || code == kPrefsRunFontChanged || code == kPrefsDebugFontChanged;
        EXPECT_EQ(sink.Count(code), shownSize ? 1 : 0) << code;
    }
    EXPECT_EQ(sink.Codes().size(), 4u);
}

TEST_F(PrefsEdits, OKSavesKeepsTheValuesAndSaysSo)
{
    Open();
    SetText("TxtCtrlRunWinFontSize", "20");
    Click("ButtonOK");
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(sink.Count(kPrefsConfirmed), 1);
    const auto file = SettingsFile(kSettingsFolder, kPrefsFile);
    ASSERT_TRUE(std::filesystem::exists(file));
    TPrefs saved;
    ASSERT_EQ(saved.LoadFromFile(), 0);
    EXPECT_EQ(saved.RunFontSize.load(), 20.0f);

    window->Appear();
    SetText("TxtCtrlRunWinFontSize", "30");
    Click("ButtonCancel");
    EXPECT_EQ(gPrefs.RunFontSize.load(), 20.0f) << "Cancel goes back to what OK kept";
}

TEST_F(PrefsEdits, DefaultsResetEverythingAndCancelStillBringsBackTheConfirmedValues)
{
    gPrefs.SetMidiOutputs({"Synth A"});
    gPrefs.WordWrap = true;
    gPrefs.SoundVolume = 150;
    Open();
    Click("ButtonDefault");
    EXPECT_FALSE(window->isHidden());
    EXPECT_TRUE(gPrefs.MidiOutputs().empty());
    EXPECT_FALSE(gPrefs.WordWrap.load());
    EXPECT_EQ(Find<QLineEdit>("TxtCtrlSsgVolume")->text(), "80");
    EXPECT_FALSE(MidiItem("Synth A")->isChecked());
    const std::vector<Message> sent = sink.Messages();
    auto midi = std::find_if(sent.begin(), sent.end(), [](const Message& m) { return m.what == kPrefMidiOutChanged; });
    ASSERT_NE(midi, sent.end());
    EXPECT_TRUE(midi->FieldNames().empty()) << "a difference notice has no fields";
    EXPECT_EQ(sink.Count(kPrefsWordWrapChanged), 1);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile(kSettingsFolder, kPrefsFile)));

    Click("ButtonCancel");
    EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth A"});
    EXPECT_TRUE(gPrefs.WordWrap.load());
    EXPECT_EQ(gPrefs.SoundVolume.load(), 150);
}

}  // namespace

namespace {

TEST_F(PrefsEdits, ACorruptFileGivesTheDefaultsAndOKWritesAWholeNewOne)
{
    const auto file = SettingsFile(kSettingsFolder, kPrefsFile);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "not a preferences file";
    gPrefs.SoundVolume = 150;
    EXPECT_NE(gPrefs.LoadFromFile(), 0);
    gPrefs = TPrefs();  // what the application starts with when the file cannot be read
    Open();
    EXPECT_EQ(Find<QLineEdit>("TxtCtrlSsgVolume")->text(), "80");
    SetText("TxtCtrlSsgVolume", "120");
    Click("ButtonOK");
    TPrefs saved;
    ASSERT_EQ(saved.LoadFromFile(), 0);
    EXPECT_EQ(saved.SoundVolume.load(), 120);
}

}  // namespace
