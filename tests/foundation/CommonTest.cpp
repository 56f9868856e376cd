#include "foundation/Common.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

#include "SettingsTestSupport.h"

using platform::Message;
using platform::Rect;

namespace {

class SettingsRecords : public SettingsDirFixture {
protected:
    std::filesystem::path PrefsFile() const { return SettingsFile("KivoBASIC", "KivoBASIC_Prefs.arc"); }
    std::filesystem::path ExitFile() const { return SettingsFile("KivoBASIC", "KivoBASIC_ExitStates.arc"); }
};

// Every field of the preferences set away from its default.
TPrefs changed_prefs()
{
    TPrefs p;
    p.BreakAtStart = false;
    p.AutoSaveBeforeRun = false;
    p.AutoSaveRegularly = false;
    p.ConvertPC98Chars = false;
    p.ShowSplash = false;
    p.UseSpeedControl = true;
    p.WordWrap = true;
    p.SetDebugFontFamily("Debug Font");
    p.SetMainFontFamily("ＭＳ ゴシック");
    p.SetRunFontFamily("Run Font");
    p.AutoSaveInterval = 99;
    p.DefaultEncoding = 4;
    p.CompatMode = 3;
    p.SoundVolume = 200;
    p.DebugFontSize = 5.5f;
    p.MainFontSize = 50.0f;
    p.RunFontSize = 16.0f;
    p.MidiDelay = 3000000;
    p.SpeedControlInterval = 100;
    p.SetMidiOutputs({"Synth A", "", "Synth C"});
    return p;
}

void expect_same(const TPrefs& a, const TPrefs& b)
{
    EXPECT_EQ(a.BreakAtStart, b.BreakAtStart);
    EXPECT_EQ(a.AutoSaveBeforeRun, b.AutoSaveBeforeRun);
    EXPECT_EQ(a.AutoSaveRegularly, b.AutoSaveRegularly);
    EXPECT_EQ(a.ConvertPC98Chars, b.ConvertPC98Chars);
    EXPECT_EQ(a.ShowSplash, b.ShowSplash);
    EXPECT_EQ(a.UseSpeedControl, b.UseSpeedControl);
    EXPECT_EQ(a.WordWrap, b.WordWrap);
    EXPECT_EQ(a.DebugFontFamily(), b.DebugFontFamily());
    EXPECT_EQ(a.MainFontFamily(), b.MainFontFamily());
    EXPECT_EQ(a.RunFontFamily(), b.RunFontFamily());
    EXPECT_EQ(a.AutoSaveInterval, b.AutoSaveInterval);
    EXPECT_EQ(a.DefaultEncoding, b.DefaultEncoding);
    EXPECT_EQ(a.CompatMode, b.CompatMode);
    EXPECT_EQ(a.SoundVolume, b.SoundVolume);
    EXPECT_EQ(a.DebugFontSize, b.DebugFontSize);
    EXPECT_EQ(a.MainFontSize, b.MainFontSize);
    EXPECT_EQ(a.RunFontSize, b.RunFontSize);
    EXPECT_EQ(a.MidiDelay, b.MidiDelay);
    EXPECT_EQ(a.SpeedControlInterval, b.SpeedControlInterval);
    EXPECT_EQ(a.MidiOutputs(), b.MidiOutputs());
}

}  // namespace

TEST_F(SettingsRecords, WithoutFilesEveryFieldHasItsDefault)
{
    TPrefs prefs;
    TExitStates states;
    EXPECT_EQ(prefs.LoadFromFile(), -1);
    EXPECT_EQ(states.LoadFromFile(), -1);

    EXPECT_TRUE(prefs.BreakAtStart && prefs.AutoSaveBeforeRun && prefs.AutoSaveRegularly && prefs.ConvertPC98Chars &&
                prefs.ShowSplash);
    EXPECT_FALSE(prefs.UseSpeedControl || prefs.WordWrap);
    EXPECT_EQ(prefs.DebugFontFamily(), "Zado Vereru");
    EXPECT_EQ(prefs.MainFontFamily(), "Zado Vereru");
    EXPECT_EQ(prefs.RunFontFamily(), "Zado Vereru");
    EXPECT_EQ(prefs.AutoSaveInterval, 5);
    EXPECT_EQ(prefs.DefaultEncoding, 0);
    EXPECT_EQ(prefs.CompatMode, 0);
    EXPECT_EQ(prefs.SoundVolume, 80);
    EXPECT_EQ(prefs.DebugFontSize, 11.0f);
    EXPECT_EQ(prefs.MainFontSize, 11.0f);
    EXPECT_EQ(prefs.RunFontSize, 14.0f);
    EXPECT_EQ(prefs.MidiDelay, 50000);
    EXPECT_EQ(prefs.SpeedControlInterval, 20000);
    EXPECT_TRUE(prefs.MidiOutputs().empty());

    EXPECT_FALSE(states.RepeatRun);
    EXPECT_TRUE(states.ShowMenuBar);
    EXPECT_FALSE(states.UseDebugger);
    EXPECT_EQ(states.Version, "");
    EXPECT_EQ(states.MainPanelFolder, "");
    EXPECT_EQ(states.RunPanelFolder, "");
    EXPECT_EQ(states.MainWindowFrame, (Rect{5, 24, 500, 300}));
    EXPECT_EQ(states.RunWindowFrame, (Rect{25, 44, 520, 320}));
    EXPECT_EQ(states.DebugWindowFrame, (Rect{675, 44, 1170, 320}));
}

TEST_F(SettingsRecords, APreferencesFileFromDefaultsHoldsExactlyTheNineteenKeysInOrder)
{
    ASSERT_EQ(TPrefs().SaveToFile(), 0);
    Message m = ReadMessage(PrefsFile());
    EXPECT_EQ(m.what, 0u);
    EXPECT_EQ(m.FieldNames(),
              (std::vector<std::string>{"BrkS", "ASBR", "ASvR", "Cv98", "SSls", "USpC", "WdWp", "DWFF", "MWFF", "RWFF",
                                        "ASvI", "CmpM", "DEnc", "SVol", "DWFS", "MWFS", "RWFS", "MDly", "SpCI"}));
    struct Typed {
        const char* key;
        uint32_t type;
    };
    const Typed types[] = {{"BrkS", platform::kBoolType},
                           {"MWFF", platform::kStringType},
                           {"SVol", platform::kInt32Type},
                           {"RWFS", platform::kFloatType},
                           {"MDly", platform::kInt64Type}};
    for (const Typed& t : types) {
        uint32_t type = 0;
        int32_t count = 0;
        ASSERT_EQ(m.GetInfo(t.key, &type, &count), platform::kOk) << t.key;
        EXPECT_EQ(type, t.type) << t.key;
        EXPECT_EQ(count, 1) << t.key;
    }
}

TEST_F(SettingsRecords, EveryPreferenceSurvivesARoundTrip)
{
    TPrefs saved = changed_prefs();
    ASSERT_EQ(saved.SaveToFile(), 0);
    Message m = ReadMessage(PrefsFile());
    EXPECT_EQ(m.FieldNames().front(), "CoMO");  // the list comes first
    TPrefs loaded;
    EXPECT_EQ(loaded.LoadFromFile(), 0);
    expect_same(loaded, saved);
}

TEST_F(SettingsRecords, AFileWithOnlySomeKeysFillsThoseAndReportsTheRest)
{
    Message m;
    m.AddInt32("SVol", 500);  // out of the dialog's range: taken as it is
    WriteMessage(PrefsFile(), m);
    TPrefs prefs;
    EXPECT_EQ(prefs.LoadFromFile(), -1);
    EXPECT_EQ(prefs.SoundVolume, 500);
    TPrefs defaults;
    defaults.SoundVolume = 500;
    expect_same(prefs, defaults);
}

TEST_F(SettingsRecords, TheAutomaticSavePeriodIsKeptWithinOneToNinetyNineMinutes)
{
    // A period of 0 from the file would make the automatic-save timer fire without pause.
    const std::pair<int32_t, int32_t> cases[] = {{0, 1}, {-5, 1}, {1, 1}, {36, 36}, {99, 99}, {100, 99}};
    for (const auto& [stored, used] : cases) {
        Message m;
        m.AddInt32("ASvI", stored);
        WriteMessage(PrefsFile(), m);
        TPrefs prefs;
        prefs.LoadFromFile();
        EXPECT_EQ(prefs.AutoSaveInterval, used) << stored;
    }
}

TEST_F(SettingsRecords, AKeyOfAnotherTypeKeepsItsDefault)
{
    Message m;
    m.AddString("SVol", "loud");
    m.AddInt32("BrkS", 0);
    WriteMessage(PrefsFile(), m);
    TPrefs prefs;
    EXPECT_EQ(prefs.LoadFromFile(), -1);
    EXPECT_EQ(prefs.SoundVolume, 80);
    EXPECT_TRUE(prefs.BreakAtStart);
}

TEST_F(SettingsRecords, ALongFontFamilyIsCutAtACharacterBoundary)
{
    std::string ascii(70, 'a');
    std::string kana;
    for (int i = 0; i < 30; ++i) kana += "ア";  // 3 bytes each: 62 would split the 21st
    Message m;
    m.AddString("DWFF", ascii);
    m.AddString("MWFF", kana);
    m.AddString("RWFF", std::string(62, 'b'));
    WriteMessage(PrefsFile(), m);
    TPrefs prefs;
    prefs.LoadFromFile();
    EXPECT_EQ(prefs.DebugFontFamily(), std::string(62, 'a'));
    EXPECT_EQ(prefs.MainFontFamily().size(), 60u);
    EXPECT_EQ(prefs.MainFontFamily(), kana.substr(0, 60));
    EXPECT_EQ(prefs.RunFontFamily(), std::string(62, 'b'));
    prefs.SetRunFontFamily(kana);
    EXPECT_EQ(prefs.RunFontFamily().size(), 60u);
}

TEST_F(SettingsRecords, ACopyOfThePreferencesIsIndependent)
{
    TPrefs original = changed_prefs();
    TPrefs copy(original);
    expect_same(copy, original);
    original.SetMidiOutputs({"Other"});
    original.SoundVolume = 1;
    EXPECT_EQ(copy.MidiOutputs(), (std::vector<std::string>{"Synth A", "", "Synth C"}));
    EXPECT_EQ(copy.SoundVolume, 200);
    copy = TPrefs();
    expect_same(copy, TPrefs());
}

TEST_F(SettingsRecords, ExitStatesWithoutFoldersOmitThemAndLoadReportsThem)
{
    TExitStates saved;
    saved.RepeatRun = true;
    saved.ShowMenuBar = false;
    saved.UseDebugger = true;
    saved.Version = "Ver 1.00";  // an older version: the running one is written
    saved.MainWindowFrame = Rect{1, 2, 3, 4};
    saved.RunWindowFrame = Rect{5, 6, 7, 8};
    saved.DebugWindowFrame = Rect{9, 10, 11, 12};
    ASSERT_EQ(saved.SaveToFile(), 0);

    Message m = ReadMessage(ExitFile());
    EXPECT_EQ(m.FieldNames(), (std::vector<std::string>{"RptR", "MBrS", "UDbg", "_Ver", "DWFr", "_WFr", "RWFr"}));
    std::string version;
    EXPECT_EQ(m.FindString("_Ver", &version), platform::kOk);
    EXPECT_EQ(version, gAppVer);

    TExitStates loaded;
    EXPECT_EQ(loaded.LoadFromFile(), -1);
    EXPECT_TRUE(loaded.RepeatRun);
    EXPECT_FALSE(loaded.ShowMenuBar);
    EXPECT_TRUE(loaded.UseDebugger);
    EXPECT_EQ(loaded.Version, gAppVer);
    EXPECT_EQ(loaded.MainPanelFolder, "");
    EXPECT_EQ(loaded.RunPanelFolder, "");
    EXPECT_EQ(loaded.MainWindowFrame, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(loaded.RunWindowFrame, (Rect{5, 6, 7, 8}));
    EXPECT_EQ(loaded.DebugWindowFrame, (Rect{9, 10, 11, 12}));
}

TEST_F(SettingsRecords, ExitStatesWithFoldersRoundTrip)
{
    TExitStates saved;
    saved.MainPanelFolder = "/home/user/basic";
    saved.RunPanelFolder = "/home/user/drive 1";
    ASSERT_EQ(saved.SaveToFile(), 0);
    TExitStates loaded;
    EXPECT_EQ(loaded.LoadFromFile(), 0);
    EXPECT_EQ(loaded.MainPanelFolder, "/home/user/basic");
    EXPECT_EQ(loaded.RunPanelFolder, "/home/user/drive 1");
}

TEST(ProcessState, SortedKanaTable)
{
    const std::vector<std::string>& table = gAppPrivacy.SortedKanaTable;
    ASSERT_EQ(table.size(), 63u);
    EXPECT_EQ(table.front(), "｡");
    EXPECT_EQ(table.back(), "ﾟ");
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
    for (size_t at = 0; at < HALF_KANA_STR.size(); at += 3)
        EXPECT_TRUE(std::binary_search(table.begin(), table.end(), HALF_KANA_STR.substr(at, 3)));
    EXPECT_FALSE(std::binary_search(table.begin(), table.end(), std::string("ア")));
    EXPECT_FALSE(gAppPrivacy.Killed);
    EXPECT_FALSE(gAppPrivacy.Quitting);
}

TEST(ProcessState, HeaderConstants)
{
    EXPECT_EQ(HALF_KANA_STR.size(), 189u);
    EXPECT_EQ(DELIMLIST_5DELIMS, std::string("\x20\x3B\x2C\x0D\x0A"));
    EXPECT_EQ(DELIMLIST_CRLF, std::string("\x0D\x0A"));
    EXPECT_EQ(FUC_ELLIPSIS, "...");
}

TEST_F(SettingsRecords, ExecutablePathIsResolvedThroughLinks)
{
    std::filesystem::path folder = root / "apps" / "X";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "prog") << "binary";
    std::filesystem::create_symlink(folder / "prog", root / "link");

    TAppPrivacy privacy;
    privacy.AnalyzeExePath((root / "link").c_str());
    std::string realFolder = std::filesystem::canonical(folder).string() + "/";
    EXPECT_EQ(privacy.ExeName(), "prog");
    EXPECT_EQ(privacy.ExePath(), realFolder);

    privacy.AnalyzeExePath((root / "no/such/file").c_str());
    EXPECT_EQ(privacy.ExeName(), "");
    EXPECT_EQ(privacy.ExePath(), "");
}
