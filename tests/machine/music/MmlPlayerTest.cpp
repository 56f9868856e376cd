// The music player thread: what it sends, when it is stamped, waking, waiting for
// foreground music, the music interrupt, PLAY ALLOC and stopping. The clock is a
// manual clock, so stamps are exact and no test waits for music in real time.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "machine/music/MMLPlayer.h"
#include "machine/music/MidiRecorder.h"
#include "machine/music/MmlMachineLink.h"
#include "machine/music/MmlPrefs.h"
#include "machine/music/MusicClock.h"

namespace {

using namespace std::chrono_literals;
using Kind = TMidiEvent::Kind;

constexpr int64_t kStart = 1000000;
constexpr int64_t kLatency = 50000;
constexpr int64_t kTick = 108;   // microseconds per tick at tempo 120
constexpr auto kPatience = 10s;  // real time any single wait may take before the test fails

TMidiEvent Note(Kind kind, int channel, int note, int velocity, int64_t time)
{
    return {kind, static_cast<uint8_t>(channel), static_cast<uint8_t>(note), static_cast<uint8_t>(velocity), {}, time,
            0};
}

// A machine as the player sees it: counts music interrupts and can be told to stop.
class FakeMachine final : public TMmlMachineLink {
public:
    explicit FakeMachine(const TMmlPlayer* player = nullptr) : mPlayer(player) {}

    void RaiseMusicInterrupt() override
    {
        std::vector<size_t> sizes;
        if (mPlayer != nullptr) {
            for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel)
                sizes.push_back(mPlayer->Queued(channel).size());
        }
        std::lock_guard<std::mutex> guard(mLock);
        mRaised.push_back(sizes);
    }
    bool IsStopRequested() const override { return mStop.load(); }

    void RequestStop() { mStop.store(true); }
    // The queue sizes of every channel at each interrupt.
    std::vector<std::vector<size_t>> Raised() const
    {
        std::lock_guard<std::mutex> guard(mLock);
        return mRaised;
    }

private:
    const TMmlPlayer* mPlayer;
    std::atomic<bool> mStop{false};
    mutable std::mutex mLock;
    std::vector<std::vector<size_t>> mRaised;
};

class MmlPlayerTest : public ::testing::Test {
protected:
    MmlPlayerTest()
    {
        player.SetPrefs(&prefs);
        player.SetProducer(&midi);
    }

    ~MmlPlayerTest() override
    {
        player.Terminate();
        player.Wait(nullptr);
    }

    // The messages sent, without the time they arrived at (compared separately).
    std::vector<TMidiEvent> Sent() const
    {
        std::vector<TMidiEvent> events = midi.Events();
        for (TMidiEvent& event : events) event.sentAt = 0;
        return events;
    }

    void Play(int channel, const char* text)
    {
        player.ClearCompileLastTick();
        ASSERT_TRUE(player.SetMml(static_cast<int16_t>(channel), text));
        player.Resume();
    }

    TManualMusicClock clock{kStart};
    TMmlDefaultPrefs prefs;
    TMidiRecorder midi{&clock};
    TMmlPlayer player{&clock};
};

TEST_F(MmlPlayerTest, NotesAreStampedFromTheWakeUpPlusTheLatency)
{
    clock.SetAutoAdvance(true);
    Play(1, "CD");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> expected{
        Note(Kind::NoteOn, 1, 72, 64, kStart + kLatency),
        Note(Kind::NoteOff, 1, 72, 64, kStart + 4032 * kTick + kLatency),
        Note(Kind::NoteOn, 1, 74, 64, kStart + 4608 * kTick + kLatency),
        Note(Kind::NoteOff, 1, 74, 64, kStart + 8640 * kTick + kLatency),
    };
    EXPECT_EQ(Sent(), expected);
    // Each message went out when its tick came, ahead of its sound by the latency.
    for (const TMidiEvent& event : midi.Events()) EXPECT_EQ(event.sentAt, event.time - kLatency);
    EXPECT_EQ(player.PlayPosition(), 9216);
    EXPECT_TRUE(player.IsBufferEmpty());
}

TEST_F(MmlPlayerTest, LatencyIsReadAtEachSend)
{
    clock.SetAutoAdvance(true);
    prefs.SetMidiLatency(0);
    Play(3, "C");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> expected{Note(Kind::NoteOn, 3, 72, 64, kStart),
                                           Note(Kind::NoteOff, 3, 72, 64, kStart + 4032 * kTick)};
    EXPECT_EQ(Sent(), expected);
}

TEST_F(MmlPlayerTest, MusicAfterAPauseIsMeasuredFromTheWakeUp)
{
    clock.SetAutoAdvance(true);
    Play(1, "C");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    clock.Advance(3000000);  // the player is suspended meanwhile
    midi.Clear();
    const int64_t wake = clock.NowMicros();
    Play(1, "D");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> expected{Note(Kind::NoteOn, 1, 74, 64, wake + kLatency),
                                           Note(Kind::NoteOff, 1, 74, 64, wake + 4032 * kTick + kLatency)};
    EXPECT_EQ(Sent(), expected);
}

TEST_F(MmlPlayerTest, TempoChangesTheTickForEveryChannelFromWhenItIsReached)
{
    clock.SetAutoAdvance(true);
    player.ClearCompileLastTick();
    player.SetMml(2, "C");
    player.SetMml(1, "T240C");
    player.Resume();
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const int64_t fast = 54;  // 60000000 / (240 * 4608)
    const std::vector<TMidiEvent> expected{
        Note(Kind::NoteOn, 1, 72, 64, kStart + kLatency),
        Note(Kind::NoteOn, 2, 72, 64, kStart + kLatency),
        Note(Kind::NoteOff, 1, 72, 64, kStart + 4032 * fast + kLatency),
        Note(Kind::NoteOff, 2, 72, 64, kStart + 4032 * fast + kLatency),
    };
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(player.TimePerTick(), 54u);
}

TEST_F(MmlPlayerTest, BeepChannelSendsOnlyTheLastCommandOfATick)
{
    clock.SetAutoAdvance(true);
    player.SetMml(0, "@1@2");
    player.SetMml(1, "@1@2");
    player.Resume();
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const int64_t at = kStart - kTick + kLatency;  // tick -1
    const std::vector<TMidiEvent> expected{
        {Kind::ProgramChange, 0, 40, 0, {}, at, 0},
        {Kind::ProgramChange, 1, 58, 0, {}, at, 0},
        {Kind::ProgramChange, 1, 40, 0, {}, at, 0},
    };
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(player.Settings(0).Program, 40);
    EXPECT_EQ(player.Settings(1).Program, 40);
}

TEST_F(MmlPlayerTest, BeepSoundsHalfASecondAndSilencesTheChannelFirst)
{
    clock.SetAutoAdvance(true);
    Play(0, "\"2");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> expected{
        {Kind::ProgramChange, 0, 81, 0, {}, kStart - kTick + kLatency, 0},
        Note(Kind::NoteOn, 0, 81, 127, kStart + kTick + kLatency),
        {Kind::ControlChange, 0, 123, 0, {}, 0, 0},
        Note(Kind::NoteOff, 0, 81, 127, kStart + 4630 * kTick + kLatency),
    };
    EXPECT_EQ(Sent(), expected);
}

TEST_F(MmlPlayerTest, ForegroundMusicMakesTheMachineWait)
{
    FakeMachine machine;
    Play(1, "CDE");
    std::atomic<bool> returned{false};
    std::thread waiter([&] {
        player.MfBlocking(machine);
        returned.store(true);
    });
    // The clock stands still, so the music cannot end.
    ASSERT_TRUE(midi.WaitForCount(1, kPatience));
    std::this_thread::sleep_for(60ms);
    EXPECT_FALSE(returned.load());
    clock.Advance(10000000);
    waiter.join();
    EXPECT_TRUE(returned.load());
    EXPECT_TRUE(player.IsBufferEmpty());
    EXPECT_EQ(midi.Count(), 6u);
}

TEST_F(MmlPlayerTest, BackgroundMusicDoesNotMakeTheMachineWait)
{
    FakeMachine machine;
    Play(1, "MBCDEFG");
    player.MfBlocking(machine);  // returns although the clock stands still
    EXPECT_FALSE(player.IsBufferEmpty());
    // A later foreground string on the channel waits for the earlier notes too.
    Play(1, "MFC");
    std::thread advance([&] {
        std::this_thread::sleep_for(30ms);
        clock.Advance(60000000);
    });
    player.MfBlocking(machine);
    EXPECT_TRUE(player.IsBufferEmpty());
    advance.join();
}

TEST_F(MmlPlayerTest, BackgroundMusicBeyondTheQueueLimitMakesTheMachineWait)
{
    FakeMachine machine;
    Play(1, "MBCD");
    const size_t limit = player.Queued(1).size();
    player.SetQueueLimit(limit);
    player.MfBlocking(machine);  // at the limit: returns although the clock stands still
    Play(1, "MBEFG");            // three more notes: beyond the limit
    std::atomic<bool> returned{false};
    std::thread waiter([&] {
        player.MfBlocking(machine);
        returned.store(true);
    });
    ASSERT_TRUE(midi.WaitForCount(1, kPatience));
    std::this_thread::sleep_for(60ms);
    EXPECT_FALSE(returned.load());
    clock.Advance(10000000);
    waiter.join();
    EXPECT_LE(player.Queued(1).size(), limit);
}

TEST_F(MmlPlayerTest, QueueLimitWaitEndsWhenTheMachineIsToldToStop)
{
    FakeMachine machine;
    player.SetQueueLimit(2);
    Play(1, "MBL1CDEF");
    std::thread stopper([&] {
        std::this_thread::sleep_for(30ms);
        machine.RequestStop();
    });
    player.MfBlocking(machine);
    stopper.join();
    EXPECT_GT(player.Queued(1).size(), 2u);
}

TEST_F(MmlPlayerTest, ForegroundWaitEndsWhenTheMachineIsToldToStop)
{
    FakeMachine machine;
    Play(1, "L1CDEFGAB");
    std::thread stopper([&] {
        std::this_thread::sleep_for(30ms);
        machine.RequestStop();
    });
    player.MfBlocking(machine);
    stopper.join();
    EXPECT_FALSE(player.IsBufferEmpty());  // the music plays on after the run
}

TEST_F(MmlPlayerTest, NewMusicWakesASleepingPlayerAtOnce)
{
    Play(1, "L1C");  // a whole note: the player sleeps 16128 ticks until its note-off
    ASSERT_TRUE(midi.WaitForCount(1, kPatience));
    clock.Advance(1000000);
    Play(2, "C");
    // The clock does not move again, so only an early wake-up sends the new note.
    ASSERT_TRUE(midi.WaitForCount(2, kPatience));
    const int64_t ticks = 1000000 / kTick;  // 9259: where the music stands one second later
    EXPECT_EQ(player.Settings(2).CompilePosition, ticks + 4608);
    EXPECT_EQ(Sent()[1], Note(Kind::NoteOn, 2, 72, 64, kStart + ticks * kTick + kLatency));
    EXPECT_EQ(midi.Events()[1].sentAt, kStart + 1000000);
    // The first note keeps its schedule.
    clock.Advance(10000000);
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> events = Sent();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2], Note(Kind::NoteOff, 2, 72, 64, kStart + (ticks + 4032) * kTick + kLatency));
    EXPECT_EQ(events[3], Note(Kind::NoteOff, 1, 72, 64, kStart + 16128 * kTick + kLatency));
}

TEST_F(MmlPlayerTest, WakeUpsAreNeverLost)
{
    clock.SetAutoAdvance(true);
    for (int i = 0; i < 200; ++i) {
        Play(1 + i % 6, "L64C");
        ASSERT_TRUE(player.WaitUntilIdle(kPatience)) << i;
        ASSERT_EQ(midi.Count(), static_cast<size_t>(2 * (i + 1))) << i;
    }
}

TEST_F(MmlPlayerTest, MusicInterruptFiresAtItsThreshold)
{
    struct Row {
        int32_t watched;
        int32_t threshold;
    };
    const Row rows[] = {{0, 0}, {0, 3}, {1, 2}, {-1, 0}, {2, 0}, {0, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "watched " << row.watched << " threshold " << row.threshold);
        player.Clear();
        FakeMachine machine(&player);
        player.SetVMachine(&machine);
        const std::unique_ptr<TMmlPlayer, void (*)(TMmlPlayer*)> detach(&player,
                                                                        [](TMmlPlayer* p) { p->SetVMachine(nullptr); });
        player.SetIrOptCh(row.watched);
        player.SetIrOptByte(row.threshold);
        clock.SetAutoAdvance(true);
        Play(1, "CDEFGAB");
        ASSERT_TRUE(player.WaitUntilIdle(kPatience));
        player.SetVMachine(nullptr);

        const std::vector<std::vector<size_t>> raised = machine.Raised();
        if (row.threshold < 0) {
            EXPECT_TRUE(raised.empty());
            continue;
        }
        ASSERT_FALSE(raised.empty());
        bool sawThreshold = false;
        for (const std::vector<size_t>& sizes : raised) {
            // Channel 1 is the only busy one: the fullest, and for -1 never the emptiest.
            const size_t watchedCount = (row.watched == 0 || row.watched == 1) ? sizes[1] / 2 : 0;
            EXPECT_LE(watchedCount, static_cast<size_t>(row.threshold));
            sawThreshold |= watchedCount == static_cast<size_t>(row.threshold);
        }
        EXPECT_TRUE(sawThreshold);
        if (row.watched < 0 || row.watched == 2) {
            EXPECT_GE(raised.size(), 14u);  // every pass: one for each tick with a command
        }
    }
}

TEST_F(MmlPlayerTest, NoInterruptReachesADetachedMachine)
{
    FakeMachine machine(&player);
    player.SetVMachine(&machine);
    player.SetVMachine(nullptr);
    clock.SetAutoAdvance(true);
    Play(1, "C");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    EXPECT_TRUE(machine.Raised().empty());
}

TEST_F(MmlPlayerTest, PlayAllocResetsEveryChannelAndSendsTheInitialisation)
{
    clock.SetAutoAdvance(true);
    Play(1, "@5O5MBL8C");
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const int64_t lastStamp = midi.Events().back().time;
    midi.Clear();

    player.Clear();
    player.BroadcastMidiInit();

    std::vector<TMidiEvent> expected;
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) {
        for (uint8_t control : {123, 120, 121}) {
            const int64_t at = std::max(clock.NowMicros(), lastStamp);
            expected.push_back({Kind::ControlChange, static_cast<uint8_t>(channel), control, 0, {}, at, 0});
        }
    }
    expected.push_back({Kind::SystemExclusive, 0, 0, 0, {0x7E, 0x7F, 0x09, 0x01}, 0, 0});
    const int programs[] = {81, 6, 6, 6, 80, 80, 80};
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) {
        const int64_t at = std::max(clock.NowMicros(), lastStamp);
        expected.push_back({Kind::ProgramChange,
                            static_cast<uint8_t>(channel),
                            static_cast<uint8_t>(programs[channel]),
                            0,
                            {},
                            at,
                            0});
    }
    EXPECT_EQ(Sent(), expected);
    EXPECT_FALSE(player.Settings(1).Background);
    EXPECT_EQ(player.Settings(1).Octave, 4);
    EXPECT_TRUE(player.IsBufferEmpty());
}

TEST_F(MmlPlayerTest, PlayAllocWhilePlayingLeavesNoNoteHanging)
{
    clock.SetAutoAdvance(true);
    for (int round = 0; round < 50; ++round) {
        player.ClearCompileLastTick();
        for (int channel = 1; channel < TMmlPlayer::kChannels; ++channel)
            player.SetMml(static_cast<int16_t>(channel), "L64CDEFGAB>CDEFGAB");
        player.Resume();
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (round % 5)));
        player.Clear();
    }
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    const std::vector<TMidiEvent> events = midi.Events();
    // Per channel: the last messages are the reset, stamped after everything before it.
    for (int channel = 1; channel < TMmlPlayer::kChannels; ++channel) {
        std::vector<TMidiEvent> mine;
        for (const TMidiEvent& event : events) {
            if (event.channel == channel) mine.push_back(event);
        }
        ASSERT_GE(mine.size(), 3u);
        const TMidiEvent& allNotesOff = mine[mine.size() - 3];
        EXPECT_EQ(allNotesOff.kind, Kind::ControlChange);
        EXPECT_EQ(allNotesOff.data1, 123);
        EXPECT_EQ(mine.back().data1, 121);
        for (const TMidiEvent& event : events) {
            if (event.kind != Kind::ControlChange) {
                EXPECT_LE(event.time, allNotesOff.time);
            }
        }
    }
}

TEST_F(MmlPlayerTest, IsBufferEmptyWhenEveryQueueIsEmpty)
{
    EXPECT_TRUE(player.IsBufferEmpty());
    clock.SetAutoAdvance(true);
    Play(0, "\"1");  // beep on, nothing after it
    ASSERT_TRUE(player.WaitUntilIdle(kPatience));
    // The repeat wait of the machine must not hang on a beep left on.
    EXPECT_TRUE(player.IsBufferEmpty());
}

TEST_F(MmlPlayerTest, StoppingWhileMusicPlaysSilencesEveryChannel)
{
    Play(1, "L1CDEFGAB");  // the clock stands still: the player sleeps until the first note-off
    ASSERT_TRUE(midi.WaitForCount(1, kPatience));
    ASSERT_EQ(player.Terminate(), 0);
    int32_t exitValue = -1;
    player.Wait(&exitValue);
    EXPECT_EQ(exitValue, 0);
    const std::vector<TMidiEvent> events = midi.Events();
    ASSERT_EQ(events.size(), 1u + 3 * TMmlPlayer::kChannels);
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) {
        EXPECT_EQ(events[1 + 3 * channel].kind, Kind::ControlChange);
        EXPECT_EQ(events[1 + 3 * channel].channel, channel);
        EXPECT_EQ(events[1 + 3 * channel].data1, 123);
        EXPECT_EQ(events[2 + 3 * channel].data1, 120);
        EXPECT_EQ(events[3 + 3 * channel].data1, 121);
    }
    EXPECT_TRUE(player.IsBufferEmpty());
}

TEST(MmlPlayerLifetime, APlayerNeverStartedOrStoppedEndsCleanly)
{
    TManualMusicClock clock;
    {
        TMmlPlayer player(&clock);
        player.SetMml(1, "CDE");
    }
    {
        TMidiRecorder midi;
        TMmlPlayer player(&clock);
        player.SetProducer(&midi);
        player.Resume();
        player.Terminate();
        player.Resume();  // a resume after the stop request, as the owner's shutdown may do
        EXPECT_EQ(player.Wait(nullptr), 0);
        EXPECT_EQ(midi.Count(), 3u * TMmlPlayer::kChannels);
    }
    {
        // The owner forgot to stop the player: the destructor does it.
        TMmlPlayer player(&clock);
        player.SetMml(1, "L1C");
        player.Resume();
    }
}

TEST(MidiLog, LinesNameTheMessageAndItsData)
{
    EXPECT_EQ(FormatMidiEvent(Note(Kind::NoteOn, 1, 72, 64, 1050000), 1000000), "50000 note-on 1 72 64");
    EXPECT_EQ(FormatMidiEvent(Note(Kind::NoteOff, 0, 81, 127, 7)), "7 note-off 0 81 127");
    EXPECT_EQ(FormatMidiEvent({Kind::ProgramChange, 5, 80, 0, {}, 20, 0}, 10), "10 program 5 80");
    EXPECT_EQ(FormatMidiEvent({Kind::ControlChange, 0, 123, 0, {}, 0, 0}, 10), "0 control 0 123 0");
    EXPECT_EQ(FormatMidiEvent({Kind::SystemExclusive, 0, 0, 0, {0x7E, 0x7F, 0x09, 0x01}, 0, 0}), "0 sysex 7E 7F 09 01");
}

}  // namespace
