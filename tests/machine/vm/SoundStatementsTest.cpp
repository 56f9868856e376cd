// Sound, time and system statements on the machine: PLAY, PLAY ALLOC and BEEP through
// the music player to a MIDI recorder, PEEK, INP, DEF SEG, SLEEP, DATE$, TIME$,
// SYSTEMTIME and KIVOVERSION$, all on an injected clock.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "machine/music/MMLPlayer.h"
#include "machine/music/MidiRecorder.h"
#include "machine/music/MusicClock.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using namespace std::chrono_literals;
using Kind = TMidiEvent::Kind;
using S = TStackData;

constexpr int64_t kStart = 1000000;
constexpr int64_t kLatency = 50000;
constexpr int64_t kTick = 108;

// The manual music clock with a local time of day that the test sets.
class TTestClock : public TManualMusicClock {
public:
    TTestClock() : TManualMusicClock(kStart) {}
    std::tm LocalTime() const override { return mLocal; }
    void SetLocalTime(int year, int month, int day, int hour, int minute, int second)
    {
        mLocal = std::tm{};
        mLocal.tm_year = year - 1900;
        mLocal.tm_mon = month - 1;
        mLocal.tm_mday = day;
        mLocal.tm_hour = hour;
        mLocal.tm_min = minute;
        mLocal.tm_sec = second;
    }

private:
    std::tm mLocal{};
};

// Keyboard rows as the host reports them: 0xFF while no key of the row is down.
class TTestKeyboard : public TKeyboardState {
public:
    TTestKeyboard() { mRows.fill(0xFF); }
    uint8_t KeyMatrixRow(int row) const override { return mRows.at(static_cast<size_t>(row)); }
    void SetRow(int row, uint8_t bits) { mRows.at(static_cast<size_t>(row)) = bits; }

private:
    std::array<uint8_t, 16> mRows;
};

TMidiEvent Note(Kind kind, int channel, int note, int velocity, int64_t time)
{
    return {kind, static_cast<uint8_t>(channel), static_cast<uint8_t>(note), static_cast<uint8_t>(velocity), {}, time,
            0};
}

class SoundStatements : public ::testing::Test {
protected:
    SoundStatements() : machine("Virtual Machine", &mid, &rsrc, &player, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
        machine.SetClock(&clock);
        player.SetProducer(&midi);
        TDeviceHost host;
        host.Keyboard = &keyboard;
        rsrc.SetOwner(host);
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    void Run(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
    }
    // Runs a code that must fail and gives the key of its error.
    std::string Failing(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        try {
            Run(code, operands);
        } catch (const TException&) {
            const std::string text = machine.ErrorText();
            return text.substr(0, text.find(' '));
        }
        return "no error";
    }
    int32_t IntResult()
    {
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        return machine.StackInt(machine.Pop());
    }
    std::string TextResult()
    {
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        const TStackData s = machine.Pop();
        EXPECT_EQ(s.type, sdString);
        return s.CString() != nullptr ? s.CString() : "";
    }
    std::vector<TMidiEvent> Sent() const
    {
        std::vector<TMidiEvent> events = midi.Events();
        for (TMidiEvent& event : events) event.sentAt = 0;
        return events;
    }

    TTestClock clock;
    TTestKeyboard keyboard;
    TMidiRecorder midi{&clock};
    TMmlPlayer player{&clock};
    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

TEST_F(SoundStatements, PlayCompilesEachStringIntoItsChannelAndWaits)
{
    clock.SetAutoAdvance(true);
    Run(MakeCode(vcPlay, int32_t{3}), {S::BorrowedText("CDE"), S::Omitted(), S::BorrowedText("EGB")});
    // The wait is over only when the music has played.
    EXPECT_TRUE(player.IsBufferEmpty());
    EXPECT_TRUE(machine.ValueStack.empty());
    const int ch1[] = {72, 74, 76};
    const int ch3[] = {76, 79, 83};
    std::vector<TMidiEvent> expected;
    for (int i = 0; i < 3; ++i) {
        const int64_t on = kStart + i * 4608 * kTick + kLatency;
        const int64_t off = on + 4032 * kTick;
        expected.push_back(Note(Kind::NoteOn, 1, ch1[i], 64, on));
        expected.push_back(Note(Kind::NoteOn, 3, ch3[i], 64, on));
        expected.push_back(Note(Kind::NoteOff, 1, ch1[i], 64, off));
        expected.push_back(Note(Kind::NoteOff, 3, ch3[i], 64, off));
    }
    EXPECT_EQ(Sent(), expected);
}

TEST_F(SoundStatements, PlayWithABadStringCompilesNothingBelowIt)
{
    EXPECT_EQ(Failing(MakeCode(vcPlay, int32_t{3}), {S::BorrowedText("C"), S::BorrowedText("D"), S::BorrowedText("X")}),
              RTE_BAD_MML);
    for (int channel = 1; channel <= 3; ++channel) EXPECT_TRUE(player.Queued(channel).empty()) << channel;
    EXPECT_EQ(Failing(MakeCode(vcPlay, int32_t{2}), {S::BorrowedText("C"), S::Long(5)}), RTE_TYPE_MISMATCH);
    EXPECT_TRUE(player.Queued(1).empty());
    EXPECT_EQ(Failing(MakeCode(vcPlay, int32_t{7}), {}), RTE_INTERNAL_ERROR);
}

TEST_F(SoundStatements, PlayWithoutStringsDoesNothing)
{
    // PLAY alone and PLAY #n compile to no strings at all.
    machine.Push(S::Long(42));
    Run(MakeCode(vcPlay, int32_t{0}), {});
    EXPECT_EQ(machine.ValueStackDepth(), 1u) << "nothing below it is taken";
    for (int channel = 1; channel <= 6; ++channel) EXPECT_TRUE(player.Queued(channel).empty()) << channel;
    EXPECT_EQ(Failing(MakeCode(vcPlay, int32_t{-1}), {}), RTE_INTERNAL_ERROR);
}

TEST_F(SoundStatements, BackgroundPlayReturnsAtOnce)
{
    // The clock stands still: foreground music could never end.
    Run(MakeCode(vcPlay, int32_t{1}), {S::OwnedText("MBCDEFG")});
    EXPECT_FALSE(player.IsBufferEmpty());
    EXPECT_EQ(player.Settings(1).CompilePosition, 5 * 4608);
}

TEST_F(SoundStatements, BeepWaitsForItsHalfSecondAndBeepOnOffDoNot)
{
    clock.SetAutoAdvance(true);
    Run(MakeCode(vcBeep, false), {});
    EXPECT_TRUE(player.IsBufferEmpty());
    const std::vector<TMidiEvent> beep{
        {Kind::ProgramChange, 0, 81, 0, {}, kStart - kTick + kLatency, 0},
        Note(Kind::NoteOn, 0, 81, 127, kStart + kTick + kLatency),
        {Kind::ControlChange, 0, 123, 0, {}, 0, 0},
        Note(Kind::NoteOff, 0, 81, 127, kStart + 4630 * kTick + kLatency),
    };
    // The player thread sends the note-off after the machine has waited out the beep.
    ASSERT_TRUE(midi.WaitForCount(beep.size(), 10s));
    EXPECT_EQ(Sent(), beep);

    midi.Clear();
    clock.SetAutoAdvance(false);
    const int64_t now = clock.NowMicros();
    Run(MakeCode(vcBeep, true), {S::Long(5)});  // any n other than 0 is BEEP 1
    ASSERT_TRUE(midi.WaitForCount(1, 10s));
    Run(MakeCode(vcBeep, true), {S::Long(0)});
    EXPECT_TRUE(machine.ValueStack.empty());
    clock.SetAutoAdvance(true);
    player.Resume();
    ASSERT_TRUE(player.WaitUntilIdle(10s));
    const std::vector<TMidiEvent> onOff{
        Note(Kind::NoteOn, 0, 81, 127, now + kLatency),
        {Kind::ControlChange, 0, 123, 0, {}, 0, 0},
        Note(Kind::NoteOff, 0, 81, 127, now + 9 * kTick + kLatency),
    };
    ASSERT_TRUE(midi.WaitForCount(onOff.size(), 10s));
    EXPECT_EQ(Sent(), onOff);
}

TEST_F(SoundStatements, PlayAllocClearsTheQueuesAndInitialisesTheOutput)
{
    Run(MakeCode(vcPlay, int32_t{2}), {S::BorrowedText("MBO6CDEFG"), S::BorrowedText("MB@10C")});
    ASSERT_TRUE(midi.WaitForCount(3, 10s));  // what is due at once; the clock stands still
    midi.Clear();
    Run(MakeCode(vcPlayAlloc, int32_t{3}), {S::Long(1), S::Long(2), S::Long(3)});
    EXPECT_TRUE(machine.ValueStack.empty());
    EXPECT_TRUE(player.IsBufferEmpty());
    EXPECT_EQ(player.Settings(1).Octave, 4);
    const std::vector<TMidiEvent> events = Sent();
    ASSERT_EQ(events.size(), 3u * 7 + 1 + 7);
    EXPECT_EQ(events[0].data1, 123);
    EXPECT_EQ(events[20].data1, 121);
    EXPECT_EQ(events[21], (TMidiEvent{Kind::SystemExclusive, 0, 0, 0, {0x7E, 0x7F, 0x09, 0x01}, 0, 0}));
    EXPECT_EQ(events[22].kind, Kind::ProgramChange);
    EXPECT_EQ(events[24].data1, 6);  // channel 2's program is back to voice 0
    EXPECT_EQ(events[28].data1, 80);
}

TEST_F(SoundStatements, PeekTellsWhetherAMidiOutputIsConnected)
{
    Run(MakeCode(vcPeek), {S::Long(0xA3FEE)});
    EXPECT_EQ(IntResult(), 8);
    Run(MakeCode(vcPeek), {S::Long(0)});
    EXPECT_EQ(IntResult(), 0);
    Run(MakeCode(vcDefSeg), {S::Long(0xA000)});
    Run(MakeCode(vcPeek), {S::Long(0x3FEE)});
    EXPECT_EQ(IntResult(), 8);
    midi.SetConnections(0);
    Run(MakeCode(vcPeek), {S::Long(0x3FEE)});
    EXPECT_EQ(IntResult(), 0);
    EXPECT_EQ(Failing(MakeCode(vcDefSeg), {S::Long(-1)}), RTE_ILL_FUNC_CALL);
    EXPECT_EQ(rsrc.DefSeg, 0xA000u);
}

TEST_F(SoundStatements, InpReadsTheKeyboardRowsAndTheCounter)
{
    struct Row {
        int32_t port;
        int row;
        uint8_t keys;
        int32_t value;
    };
    const Row rows[] = {
        {0xE2, 2, 0xFD, 0xFD},   // A down
        {0xEB, 11, 0xFF, 0xFF},  // nothing down
        {0xEB, 11, 0xFE, 0xFE},  // Page Down
        {0xEB, 11, 0x00, 0xFC},  // bits 2 to 7 of this row are always set
        {0xE1, 1, 0x00, 0x30},   // and bits 4 and 5 of this one
        {0xE8, 8, 0x7F, 0x7F},   // left Control
        {0x30, 0, 0x00, 0},      // no such port
    };
    for (const Row& row : rows) {
        keyboard.SetRow(row.row, row.keys);
        Run(MakeCode(vcInp), {S::Long(row.port)});
        EXPECT_EQ(IntResult(), row.value) << std::hex << row.port;
        keyboard.SetRow(row.row, 0xFF);
    }
    clock.Set(833 * 256 * 3 + 833 * 5 + 100);
    Run(MakeCode(vcInp), {S::Long(0x5D)});
    EXPECT_EQ(IntResult(), 5);
    Run(MakeCode(vcInp), {S::Long(0x5F)});
    EXPECT_EQ(IntResult(), 3);
    EXPECT_EQ(Failing(MakeCode(vcInp), {S::Long(-1)}), RTE_ILL_FUNC_CALL);
    EXPECT_EQ(Failing(MakeCode(vcInp), {S::Long(0x8000)}), RTE_ILL_FUNC_CALL);
}

TEST_F(SoundStatements, SleepWaitsItsMillisecondsOnTheClock)
{
    clock.SetAutoAdvance(true);
    Run(MakeCode(vcXSleep), {S::Long(1500)});
    EXPECT_EQ(clock.NowMicros(), kStart + 1500000);
    Run(MakeCode(vcXSleep), {S::Long(0)});
    EXPECT_EQ(clock.NowMicros(), kStart + 1500000);
    EXPECT_EQ(Failing(MakeCode(vcXSleep), {S::Long(-1)}), RTE_ILL_FUNC_CALL);
}

TEST_F(SoundStatements, SleepEndsWhenTheMachineIsToldToStop)
{
    // On the real clock SLEEP naps a little at a time; only the stop request can end
    // this sleep within the test.
    machine.SetClock(&TSystemMusicClock::Instance());
    std::atomic<bool> done{false};
    std::thread sleeper([&] {
        Run(MakeCode(vcXSleep), {S::Long(3000000)});
        done.store(true);
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(done.load());
    machine.Terminate();
    sleeper.join();
    EXPECT_TRUE(done.load());
}

TEST_F(SoundStatements, DateAndTimeOfDay)
{
    struct Row {
        int year, month, day, hour, minute, second;
        const char* date;
        const char* time;
    };
    const Row rows[] = {
        {2026, 3, 8, 9, 5, 0, "26/03/08", "09:05:00"},
        {1999, 12, 31, 23, 59, 59, "99/12/31", "23:59:59"},
        {2000, 1, 1, 0, 0, 0, "00/01/01", "00:00:00"},
        {2100, 2, 28, 12, 0, 0, "00/02/28", "12:00:00"},  // still two digits of the year
        {2126, 3, 8, 9, 5, 0, "26/03/08", "09:05:00"},
    };
    for (const Row& row : rows) {
        clock.SetLocalTime(row.year, row.month, row.day, row.hour, row.minute, row.second);
        Run(MakeCode(vcDateDl), {});
        EXPECT_EQ(TextResult(), row.date);
        Run(MakeCode(vcTimeDl), {});
        EXPECT_EQ(TextResult(), row.time);
    }
}

TEST_F(SoundStatements, SystemTimeAndVersion)
{
    clock.Set(5000000000LL);
    Run(MakeCode(vcXSystemtime), {});
    EXPECT_EQ(IntResult(), 5000000);
    clock.Set((2147483648LL + 5) * 1000 + 999);  // milliseconds beyond 32 bits wrap
    Run(MakeCode(vcXSystemtime), {});
    EXPECT_EQ(IntResult(), -2147483643);
    Run(MakeCode(vcXKivoversionDl), {});
    EXPECT_EQ(TextResult(), "Ver 8.23");
}

TEST(SoundStatementsWithoutPlayer, SoundStatementsDoNothing)
{
    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    TCodeBuilder(mid).Finish();
    machine.Push(S::BorrowedText("CDE"));
    machine.Run(MakeCode(vcPlay, int32_t{1}));
    machine.Run(MakeCode(vcBeep, false));
    machine.Run(MakeCode(vcPlayAlloc));
    machine.Push(S::Long(0xA3FEE));
    machine.Run(MakeCode(vcPeek));
    EXPECT_EQ(machine.StackInt(machine.Pop()), 0);
    EXPECT_TRUE(machine.ValueStack.empty());
}

}  // namespace
