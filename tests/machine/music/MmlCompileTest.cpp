// Music strings compiled into channel queues. The player thread is never started here,
// so the queues hold exactly what compilation produced.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Common.h"
#include "machine/music/MMLPlayer.h"
#include "machine/music/MmlPrefs.h"
#include "machine/music/MmlTables.h"
#include "machine/music/MusicClock.h"

namespace {

struct Cmd {
    TPlayMidiCmd command;
    int data1;
    int data2;
    int64_t tick;

    bool operator==(const Cmd&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cmd& cmd)
{
    static const char* const kNames[] = {"on", "off", "program", "tempo", "marker"};
    return out << "{" << kNames[cmd.command] << " " << cmd.data1 << " " << cmd.data2 << " @" << cmd.tick << "}";
}

class MmlCompileTest : public ::testing::Test {
protected:
    MmlCompileTest() { player.SetPrefs(&prefs); }

    std::vector<Cmd> Commands(int channel) const
    {
        std::vector<Cmd> result;
        for (const TPlayData& data : player.Queued(channel)) {
            EXPECT_EQ(data.Channel, channel);
            result.push_back({data.Command, data.Data1, data.Data2, data.Tick});
        }
        return result;
    }

    std::vector<Cmd> Compile(int channel, const std::string& text)
    {
        EXPECT_TRUE(player.SetMml(static_cast<int16_t>(channel), text.c_str())) << text;
        return Commands(channel);
    }

    // Compiles a single note and gives the ticks from its note-on to its note-off and
    // to its closing marker.
    std::pair<int64_t, int64_t> NoteSpan(const std::string& text)
    {
        const std::vector<Cmd> cmds = Compile(1, text);
        EXPECT_EQ(cmds.size(), 3u) << text;
        if (cmds.size() != 3) return {-1, -1};
        EXPECT_EQ(cmds[0].command, pmcNoteOn);
        EXPECT_EQ(cmds[1].command, pmcNoteOff);
        EXPECT_EQ(cmds[2].command, pmcMarker);
        return {cmds[1].tick - cmds[0].tick, cmds[2].tick - cmds[0].tick};
    }

    TManualMusicClock clock;
    TMmlDefaultPrefs prefs;
    TMmlPlayer player{&clock};
};

TEST_F(MmlCompileTest, NotesAfterResetFollowOneAnotherWithGateSevenEighths)
// clang-format off
{
    const std::vector<Cmd> expected{
        {pmcNoteOn, 72, 64, 0},     {pmcNoteOff, 72, 64, 4032},  {pmcMarker, 0, 0, 4608},
        {pmcNoteOn, 74, 64, 4608},  {pmcNoteOff, 74, 64, 8640},  {pmcMarker, 0, 0, 9216},
        {pmcNoteOn, 76, 64, 9216},  {pmcNoteOff, 76, 64, 13248}, {pmcMarker, 0, 0, 13824},
    };
    EXPECT_EQ(Compile(1, "CDE"), expected);
    EXPECT_EQ(player.Settings(1).CompilePosition, 13824);
    EXPECT_TRUE(player.Queued(2).empty());
}
// clang-format on

TEST_F(MmlCompileTest, LengthsOfNotes)
{
    struct Row {
        const char* text;
        int64_t toOff;
        int64_t toMarker;
    };
    // clang-format off
    const Row rows[] = {
        {"C", 4032, 4608},        {"C4.", 6048, 6912},      {"C4.^8", 9072, 10368},
        {"C4^8.", 9072, 10368},   {"C4 8", 6048, 6912},     {"C4^^8", 6048, 6912},
        {"C4^", 4032, 4608},      {"C.", 6048, 6912},       {"C.4", 6048, 6912},
        {"L5C", 3223, 3683},      {"C1", 16128, 18432},     {"C64", 252, 288},
        {"C5", 3223, 3683},       {"C4608", 3, 3},          {"C32767", 0, 0},
        {"Q8C", 4608, 4608},      {"Q1C", 576, 4608},       {"L8C", 2016, 2304},
        {"L8C.", 3024, 3456},     {"C16 16 16 16", 4032, 4608},
    };
    // clang-format on
    for (const Row& row : rows) {
        player.Clear();
        const auto [toOff, toMarker] = NoteSpan(row.text);
        EXPECT_EQ(toOff, row.toOff) << row.text;
        EXPECT_EQ(toMarker, row.toMarker) << row.text;
    }
}

TEST_F(MmlCompileTest, PitchesFollowOctaveAndAccidentals)
{
    struct Row {
        const char* text;
        int note;
    };
    // clang-format off
    const Row rows[] = {
        {"C", 72},     {"A", 81},     {"B", 83},       {"C+", 73},     {"C#", 73},
        {"C-", 71},    {"B+", 84},    {"O8C", 120},    {"O1C", 36},    {"O4C-", 71},
        {"O8G", 127},  {"<C", 60},    {">C", 84},      {"O1<<<<C", 12}, {"O1<<C-", 11},
        {"o2 e", 52},  {"O2\tD", 50}, {"O3\rF", 65},
    };
    // clang-format on
    for (const Row& row : rows) {
        player.Clear();
        const std::vector<Cmd> cmds = Compile(1, row.text);
        ASSERT_FALSE(cmds.empty()) << row.text;
        EXPECT_EQ(cmds[0].data1, row.note) << row.text;
    }
}

TEST_F(MmlCompileTest, OctaveStaysWithinItsLimits)
{
    player.SetMml(1, "O8>>>");
    EXPECT_EQ(player.Settings(1).Octave, 9);
    player.SetMml(1, "O1<<<<");
    EXPECT_EQ(player.Settings(1).Octave, -1);
    EXPECT_TRUE(player.Queued(1).empty());
}

TEST_F(MmlCompileTest, BadStringsAreRejectedWithTheKey)
{
    const std::string tooLongNumber = "C" + std::string(500, '4');
    const std::string tooLongText(TMmlTokenizer::kMaxTextLength + 1, 'R');
    const std::string rows[] = {
        "C4..",        "{CD",       "{C{D}}", "}",    "CN",     "C&D",  "C\nD",
        "C$",          "T31",       "T256",   "@82",  "S15",    "V16",  "@V128",
        "L0",          "L65",       "Q0",     "Q9",   "O0",     "O9",   "C0",
        "C32768",      "C65536",    "C40000", "H",    "I",      "J",    "N",
        "U",           "W",         "X",      "+",    "#",      "-C",   ".",
        "^",           "C^8",       "O8G+",   "O8>C", "O8{G+}", "\x80", "C\xE3\x81\x82",
        "L",           "T",         "TC",     "@",    "\"3",    "\"",   "L-4",
        tooLongNumber, tooLongText,
    };
    for (const std::string& text : rows) {
        try {
            player.SetMml(1, text.c_str());
            ADD_FAILURE() << "accepted: " << text.substr(0, 40);
        } catch (const char* key) {
            EXPECT_STREQ(key, "@Runtime_Err_Bad_MML@") << text.substr(0, 40);
        }
    }
}

TEST_F(MmlCompileTest, LimitsThatAreAccepted)
{
    const std::string longestNumber = "C" + std::string(TMmlTokenizer::kMaxDigits - 1, '0') + "4";
    const std::string longestText(TMmlTokenizer::kMaxTextLength, ' ');
    const std::string rows[] = {"T32", "T255", "@81", "@0", "S14", "V15",    "V0",          "@V127",    "L1",
                                "L64", "Q1",   "Q8",  "O1", "O8",  "C32767", longestNumber, longestText};
    for (const std::string& text : rows) EXPECT_NO_THROW(player.SetMml(1, text.c_str())) << text.substr(0, 40);
}

TEST_F(MmlCompileTest, CommandsWithoutEffect)
{
    const char* const rows[] = {"Y1,2", "M100", "K3", "_5", "@W5", "!",  "*",  "Z1,2,3",
                                "M1,2", "4",    ",",  "Y",  "K",   "Z1", "@W", "MC"};
    for (const char* text : rows) {
        player.Clear();
        player.SetMml(1, text);
        EXPECT_TRUE(player.Queued(1).empty()) << text;
        const TMmlPlayer::ChannelSettings settings = player.Settings(1);
        EXPECT_EQ(settings.CompilePosition, 0) << text;
        EXPECT_EQ(settings.Octave, 4) << text;
        EXPECT_EQ(settings.Length, 4) << text;
        EXPECT_EQ(settings.Gate, 7) << text;
        EXPECT_EQ(settings.Velocity, 64) << text;
    }
}

TEST_F(MmlCompileTest, EmptyTextCompilesNothing)
{
    EXPECT_FALSE(player.SetMml(1, ""));
    EXPECT_FALSE(player.SetMml(1, nullptr));
    EXPECT_FALSE(player.SetMml(7, "C"));
    EXPECT_FALSE(player.SetMml(-1, "C"));
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) EXPECT_TRUE(player.Queued(channel).empty());
}

TEST_F(MmlCompileTest, ProgramChangesComeOneTickBeforeTheirPosition)
{
    struct Row {
        const char* text;
        int program;
    };
    const Row rows[] = {{"@81", 45}, {"@0", 6},   {"@13", 0}, {"@55", 123},
                        {"S8", 81},  {"S12", 81}, {"S7", 80}, {"S0", 80}};
    for (const Row& row : rows) {
        player.Clear();
        const std::vector<Cmd> expected{{pmcProgramChange, row.program, 0, -1}};
        EXPECT_EQ(Compile(2, row.text), expected) << row.text;
    }
    player.Clear();
    const std::vector<Cmd> cmds = Compile(1, "C@1D");
    ASSERT_EQ(cmds.size(), 7u);
    EXPECT_EQ(cmds[2], (Cmd{pmcProgramChange, 58, 0, 4607}));
    EXPECT_EQ(cmds[3], (Cmd{pmcMarker, 0, 0, 4608}));
    EXPECT_EQ(cmds[4], (Cmd{pmcNoteOn, 74, 64, 4608}));
}

TEST_F(MmlCompileTest, TablesHoldTheirPrograms)
{
    EXPECT_EQ(gMmlVoiceTable[0], 6);
    EXPECT_EQ(gMmlVoiceTable[29], 26);
    EXPECT_EQ(gMmlVoiceTable[47], 112);
    EXPECT_EQ(gMmlVoiceTable[81], 45);
    for (size_t i = 0; i < gMmlSsgTable.size(); ++i) EXPECT_EQ(gMmlSsgTable[i], (i == 8 || i == 12) ? 81 : 80) << i;
}

TEST_F(MmlCompileTest, VelocityFollowsVolumeCommandsAndTheSsgVolume)
{
    struct Row {
        int channel;
        int ssgVolume;
        const char* text;
        int velocity;
    };
    // clang-format off
    const Row rows[] = {
        {1, 80, "V15C", 127}, {1, 80, "V0C", 0},     {1, 80, "V8C", 67},   {1, 200, "V15C", 127},
        {4, 80, "V15C", 101}, {4, 80, "V0C", 0},     {4, 80, "@V100C", 80}, {4, 200, "V15C", 127},
        {4, 200, "@V127C", 127}, {6, 150, "@V80C", 120}, {4, 0, "V15C", 0}, {1, 80, "@V99C", 99},
    };
    // clang-format on
    for (const Row& row : rows) {
        prefs.SetSsgVolume(row.ssgVolume);
        player.Clear();
        const std::vector<Cmd> cmds = Compile(row.channel, row.text);
        ASSERT_EQ(cmds.size(), 3u) << row.text;
        EXPECT_EQ(cmds[0].data2, row.velocity) << row.channel << " " << row.text << " " << row.ssgVolume;
        EXPECT_EQ(cmds[1].data2, row.velocity) << row.text;
    }
}

TEST_F(MmlCompileTest, ChannelResetValues)
{
    prefs.SetSsgVolume(80);
    player.Clear();
    const int programs[] = {81, 6, 6, 6, 80, 80, 80};
    const int velocities[] = {127, 64, 64, 64, 51, 51, 51};
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) {
        const TMmlPlayer::ChannelSettings settings = player.Settings(channel);
        EXPECT_EQ(settings.Program, programs[channel]) << channel;
        EXPECT_EQ(settings.Velocity, velocities[channel]) << channel;
        EXPECT_FALSE(settings.Background);
        EXPECT_EQ(settings.Gate, 7);
        EXPECT_EQ(settings.Length, 4);
        EXPECT_EQ(settings.Octave, 4);
        EXPECT_EQ(settings.CompilePosition, 0);
    }
    prefs.SetSsgVolume(200);
    player.Clear();
    EXPECT_EQ(player.Settings(5).Velocity, 127);
}

TEST_F(MmlCompileTest, SettingsOutliveTheStringAndClearResetsThem)
{
    player.SetMml(2, "L8O5Q4V15MB");
    player.SetMml(2, "C");
    const std::vector<Cmd> cmds = Commands(2);
    ASSERT_EQ(cmds.size(), 3u);
    EXPECT_EQ(cmds[0], (Cmd{pmcNoteOn, 84, 127, 0}));
    EXPECT_EQ(cmds[1], (Cmd{pmcNoteOff, 84, 127, 1152}));
    EXPECT_TRUE(player.Settings(2).Background);
    player.SetMml(2, "MF");
    EXPECT_FALSE(player.Settings(2).Background);
    player.SetMml(2, "MB");
    player.Clear();
    EXPECT_TRUE(player.Queued(2).empty());
    EXPECT_FALSE(player.Settings(2).Background);
    EXPECT_EQ(player.Settings(2).Octave, 4);
}

TEST_F(MmlCompileTest, GroupsShareOneLength)
{
    struct Row {
        const char* text;
        std::vector<int> notes;
        int64_t each;
    };
    const Row rows[] = {
        {"{CDE}4", {72, 74, 76}, 1536}, {"{CRD}8", {72, 74}, 1152},    {"{C>D}", {72, 74}, 2304},
        {"O5{C4D8}", {84, 86}, 2304},   {"{CDE}", {72, 74, 76}, 1536}, {"{C D}2.", {72, 74}, 6912},
    };
    for (const Row& row : rows) {
        player.Clear();
        const std::vector<Cmd> cmds = Compile(1, row.text);
        ASSERT_EQ(cmds.size(), row.notes.size() * 3) << row.text;
        for (size_t i = 0; i < row.notes.size(); ++i) {
            EXPECT_EQ(cmds[i * 3].data1, row.notes[i]) << row.text;
            EXPECT_EQ(cmds[i * 3].tick, static_cast<int64_t>(i) * row.each) << row.text;
            EXPECT_EQ(cmds[i * 3 + 2].tick, static_cast<int64_t>(i + 1) * row.each) << row.text;
        }
    }
    player.Clear();
    player.SetMml(1, "{}4{R}");
    EXPECT_TRUE(player.Queued(1).empty());
    EXPECT_EQ(player.Settings(1).CompilePosition, 0);
}

TEST_F(MmlCompileTest, RestsAreMarkersAndIgnoreTheGate)
{
    const std::vector<Cmd> expected{{pmcMarker, 0, 0, 0},
                                    {pmcMarker, 0, 0, 2304},
                                    {pmcNoteOn, 72, 64, 2304},
                                    {pmcNoteOff, 72, 64, 6336},
                                    {pmcMarker, 0, 0, 6912}};
    EXPECT_EQ(Compile(1, "R8C"), expected);
    player.Clear();
    EXPECT_EQ(Compile(1, "P4.").back(), (Cmd{pmcMarker, 0, 0, 6912}));
}

TEST_F(MmlCompileTest, TempoIsQueuedAndTakesEffectOnlyWhenPlayed)
{
    const std::vector<Cmd> expected{{pmcTempo, 150, 0, 0}};
    EXPECT_EQ(Compile(1, "T150"), expected);
    EXPECT_EQ(player.TimePerTick(), 108u);
    EXPECT_EQ(TMmlPlayer::TimePerTickOf(120), 108u);
    EXPECT_EQ(TMmlPlayer::TimePerTickOf(32), 406u);
    EXPECT_EQ(TMmlPlayer::TimePerTickOf(255), 51u);
}

TEST_F(MmlCompileTest, AFailingStringKeepsWhatWasQueuedBeforeTheError)
{
    EXPECT_THROW(player.SetMml(1, "L8CDR4X"), const char*);
    EXPECT_EQ(player.Queued(1).size(), 6u);
    EXPECT_EQ(player.Settings(1).Length, 8);
    EXPECT_EQ(player.Settings(1).CompilePosition, 4608);
    // A note whose length cannot be read queues nothing, so no note is left sounding
    // without its note-off.
    EXPECT_THROW(player.SetMml(1, "E0"), const char*);
    EXPECT_THROW(player.SetMml(1, "EX"), const char*);
    EXPECT_EQ(player.Queued(1).size(), 6u);
}

TEST_F(MmlCompileTest, CommandsOfOneTickKeepTheOrderTheyWereMadeIn)
{
    const std::vector<Cmd> cmds = Compile(1, "Q8CD");
    const std::vector<Cmd> expected{{pmcNoteOn, 72, 64, 0},    {pmcNoteOff, 72, 64, 4608}, {pmcMarker, 0, 0, 4608},
                                    {pmcNoteOn, 74, 64, 4608}, {pmcNoteOff, 74, 64, 9216}, {pmcMarker, 0, 0, 9216}};
    EXPECT_EQ(cmds, expected);
}

TEST_F(MmlCompileTest, BeepCommands)
{
    // A plain beep: the program once, then half a second at tempo 120 (500000 / 108 ticks).
    std::vector<Cmd> expected{{pmcProgramChange, 81, 0, -1}, {pmcNoteOn, 81, 127, 1}, {pmcNoteOff, 81, 127, 4630}};
    EXPECT_EQ(Compile(0, "\"2"), expected);
    EXPECT_EQ(player.Settings(0).CompilePosition, 4630);
    expected.push_back({pmcNoteOn, 81, 127, 4630});
    expected.push_back({pmcNoteOff, 81, 127, 9259});
    EXPECT_EQ(Compile(0, "\"2"), expected);

    // Beep on and off: 1000 microseconds each (9 ticks), each kind at most once a millisecond.
    player.Clear();
    expected = {{pmcProgramChange, 81, 0, -1}, {pmcNoteOn, 81, 127, 1}};
    EXPECT_EQ(Compile(0, "\"1"), expected);
    EXPECT_EQ(Compile(0, "\"1"), expected);
    expected.push_back({pmcNoteOff, 81, 127, 10});
    EXPECT_EQ(Compile(0, "\"0"), expected);
    EXPECT_EQ(Compile(0, "\"0"), expected);
    EXPECT_EQ(player.Settings(0).CompilePosition, 19);
    clock.Advance(1000);
    expected.push_back({pmcNoteOn, 81, 127, 19});
    EXPECT_EQ(Compile(0, "\"1"), expected);
}

TEST_F(MmlCompileTest, BeepInAPlayStringMovesTheBeepChannelsPosition)
{
    const std::vector<Cmd> cmds = Compile(2, "\"2");
    const std::vector<Cmd> expected{{pmcProgramChange, 81, 0, -1}, {pmcNoteOn, 81, 127, 0}, {pmcNoteOff, 81, 127, 0}};
    EXPECT_EQ(cmds, expected);
    EXPECT_EQ(player.Settings(0).CompilePosition, 4630);
    EXPECT_EQ(player.Settings(2).CompilePosition, 0);
}

TEST_F(MmlCompileTest, IdleChannelsStartAtThePlayPosition)
{
    player.SetMml(1, "C");
    player.ClearCompileLastTick();  // play position 0: nothing moves
    EXPECT_EQ(player.Settings(1).CompilePosition, 4608);
    EXPECT_EQ(player.Settings(2).CompilePosition, 0);
    EXPECT_FALSE(player.IsBufferEmpty());
    player.Clear();
    EXPECT_TRUE(player.IsBufferEmpty());
}

}  // namespace

namespace {

TEST(MmlPlayerPrefs, WithoutOwnPrefsThePlayerReadsTheUserPreferences)
{
    const int32_t saved = gPrefs.SoundVolume.load();
    gPrefs.SoundVolume.store(50);
    TManualMusicClock clock;
    TMmlPlayer player(&clock);
    player.SetMml(5, "V15C");
    gPrefs.SoundVolume.store(saved);
    const std::vector<TPlayData> queued = player.Queued(5);
    ASSERT_FALSE(queued.empty());
    EXPECT_EQ(queued[0].Data2, 63);  // 127 * 50 / 100
}

}  // namespace
