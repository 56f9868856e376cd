#pragma once
// The music player: compiles the music strings of PLAY and BEEP into timed MIDI
// commands, one queue for each of seven channels, and sends them from a thread of its
// own ("MML Player") when their time comes.
//
// Channel 0 carries BEEP, channels 1 to 6 the strings of PLAY; channel n goes out on
// MIDI channel n. A quarter note is 4608 ticks whatever the tempo; the tempo only sets
// how many microseconds a tick lasts.
//
// Threads. The machine thread compiles (SetMml, ClearCompileLastTick) and calls Clear,
// BroadcastMidiInit, MfBlocking, IsBufferEmpty, the interrupt settings and Resume; the
// player thread runs Execute. Each channel queue has its own lock, never two held at
// once; MIDI is sent with no channel lock held, so compiling never waits for sending.
// Sending and Clear are serialised by one more lock, so PLAY ALLOC cannot slip between
// taking a note from a queue and sending it.
//
// Stopping: Terminate wakes the thread wherever it waits; then Wait. The destructor does
// both when the owner has not.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "foundation/Thread.h"
#include "machine/music/MmlToken.h"
#include "machine/music/MmlTokenizer.h"
#include "machine/music/PlayData.h"

class TMidiOutput;
class TMmlMachineLink;
class TMmlPrefs;
class TMusicClock;

class TMmlPlayer : public TThread {
public:
    static constexpr int kChannels = 7;
    static constexpr int32_t kTicksPerQuarter = 4608;
    static constexpr int32_t kDefaultTempo = 120;

    // A copy of one channel's compile settings (for tests and tools).
    struct ChannelSettings {
        bool Background;
        int Gate;
        int Length;
        int Octave;
        int Program;
        int Velocity;
        int64_t CompilePosition;
    };

    // The thread is created suspended. `clock` times the music and stamps the messages.
    explicit TMmlPlayer(const TMusicClock* clock = nullptr);
    ~TMmlPlayer() override;

    // Borrowed; the owner keeps them alive while the player may use them.
    bool SetProducer(TMidiOutput* output);
    // Attaches the running machine, or detaches it with null. Returns only when no call
    // into the machine it replaces is in progress, so that machine may then be deleted.
    bool SetVMachine(TMmlMachineLink* machine);
    // The source of "SVol" and "MDly"; null restores the user preferences.
    void SetPrefs(const TMmlPrefs* prefs);

    int32_t Execute() override;
    // Sets the stop flag and wakes the thread wherever it waits.
    int32_t Terminate() override;
    // Starts the thread the first time; afterwards wakes it at once, also from a sleep
    // until its next command, so that new music is not held back.
    int32_t Resume();

    // --- Compiling (machine thread) ---
    // Compiles `text` into `channel` (0 to 6). False, doing nothing, for an empty text or
    // another channel. A bad string throws kBadMmlKey (a const char*); what was queued
    // before the error stays queued.
    bool SetMml(int16_t channel, const char* text);
    // A channel with nothing queued whose compile position lies behind the present play
    // position is moved up to it, so its next string starts now.
    void ClearCompileLastTick();

    // --- Control (machine thread) ---
    // Empties every queue and resets every channel; sends all notes off, all sound off
    // and reset all controllers on each channel, after everything already sent.
    void Clear();
    // General MIDI System On, then each channel's program.
    void BroadcastMidiInit();
    // Waits until every channel without the background flag has played out its queue,
    // and no channel holds more than the queue limit, or until `waiter` (the calling
    // machine) has been told to terminate.
    void MfBlocking(const TMmlMachineLink& waiter);
    // The most commands a channel queues before PLAY waits for the music to catch up,
    // as a full music buffer makes the machine wait: background music in an endless
    // loop would otherwise grow without bound.
    static constexpr size_t kDefaultQueueLimit = 65536;
    void SetQueueLimit(size_t commands) { mQueueLimit.store(commands, std::memory_order_release); }
    // True when every queue is empty: all music queued so far has been played.
    bool IsBufferEmpty() const;
    // The music interrupt: the watched channel (0: the fullest of 1 to 6, negative: the
    // emptiest, otherwise that channel) and the count of notes at or below which it fires.
    void SetIrOptCh(int32_t channel);
    void SetIrOptByte(int32_t count);
    // How many MIDI destinations the producer reaches; 0 without a producer.
    int32_t ProducerConnections() const;

    // --- Observation (tests, the headless driver) ---
    int64_t PlayPosition() const { return mPlayPos.load(std::memory_order_acquire); }
    uint32_t TimePerTick() const { return mTimePerTick.load(std::memory_order_acquire); }
    ChannelSettings Settings(int channel) const;
    // The commands waiting in a channel's queue, in the order they fall due.
    std::vector<TPlayData> Queued(int channel) const;
    // Waits until the thread has played all it was woken for and waits for new music;
    // false when `timeout` passed first.
    bool WaitUntilIdle(std::chrono::milliseconds timeout) const;

    // 60000000 / (tempo × 4608) microseconds per tick.
    static uint32_t TimePerTickOf(int32_t tempo);

private:
    using CompileFunc = TMmlToken (TMmlPlayer::*)(const TMmlToken&);

    struct Channel {
        mutable std::mutex Lock;
        TPlayQueue Queue;  // under Lock
        // Written by the machine thread (and by Clear); the program also by the player
        // thread when it sends a program change.
        std::atomic<bool> Background{false};
        std::atomic<int> Gate{7};
        std::atomic<int> Length{4};
        std::atomic<int> Octave{4};
        std::atomic<int> Program{0};
        std::atomic<int> Velocity{0};
        std::atomic<int64_t> CompilePos{0};
    };

    std::atomic<size_t> mQueueLimit{kDefaultQueueLimit};
    bool OverQueueLimit() const;

    // Thread body helpers.
    void SendDueCommands(std::array<size_t, kChannels>& remaining);
    void Send(const TPlayData& command, int64_t timeBase, int64_t playPos);
    void RaiseMusicInterrupt(const std::array<size_t, kChannels>& remaining);
    bool NextDue(int64_t* ticks) const;
    TPlayData OptimizedBeepQueuePop();
    void SetTimePerTick(int32_t tempo);
    int64_t StampAfterSent() const;
    int64_t LivePlayPosition() const;
    int32_t SsgVolume() const;
    int64_t MidiLatency() const;
    void ResetChannel(int channel);
    bool ForegroundBusy() const;

    // Compiler (MmlCompile.cpp).
    void Compile();
    void AddMidiCmd(TPlayMidiCmd command, int16_t data1, int16_t data2);
    void AddNote(int16_t pitch, int64_t ticks);
    int16_t PitchFromToken(const TMmlToken& token) const;
    TMmlToken CompileTick(int64_t* ticks);
    int32_t ReadValue(int32_t min, int32_t max);
    TMmlToken SkipTokens(int count);
    void SetVelocity(int32_t velocity);
    Channel& Compiling() { return mChannels[mCompileChannel]; }

    // Numbers and commas where a command stands, "!" and "*": no effect.
    TMmlToken CompileFuncNone(const TMmlToken&);
    TMmlToken CompileFuncPitch(const TMmlToken&);
    TMmlToken CompileFuncS(const TMmlToken&);
    TMmlToken CompileFuncV(const TMmlToken&);
    TMmlToken CompileFuncL(const TMmlToken&);
    TMmlToken CompileFuncQ(const TMmlToken&);
    TMmlToken CompileFuncO(const TMmlToken&);
    TMmlToken CompileFuncLt(const TMmlToken&);
    TMmlToken CompileFuncGt(const TMmlToken&);
    TMmlToken CompileFuncT(const TMmlToken&);
    TMmlToken CompileFuncR(const TMmlToken&);
    // A stray "+", "#", "-", ".", "^" or "}": bad MML.
    TMmlToken CompileFuncStray(const TMmlToken&);
    TMmlToken CompileFuncLseq(const TMmlToken&);
    TMmlToken CompileFuncAt(const TMmlToken&);
    TMmlToken CompileFuncY(const TMmlToken&);
    TMmlToken CompileFuncAtV(const TMmlToken&);
    // "M", "K", "@W" and "_" skip the token after them.
    TMmlToken CompileFuncSkipOne(const TMmlToken&);
    TMmlToken CompileFuncBeep(const TMmlToken&);
    TMmlToken CompileFuncZ(const TMmlToken&);
    TMmlToken CompileFuncMf(const TMmlToken&);
    TMmlToken CompileFuncMb(const TMmlToken&);

    static const std::array<CompileFunc, kMmlTokenKinds> kCompileFuncs;

    const TMusicClock& mClock;
    std::array<Channel, kChannels> mChannels;

    std::atomic<TMidiOutput*> mOutput{nullptr};
    std::atomic<const TMmlPrefs*> mPrefs{nullptr};

    mutable std::mutex mMachineLock;  // held while the player calls into the machine
    TMmlMachineLink* mMachine = nullptr;

    std::atomic<int64_t> mPlayPos{0};
    std::atomic<uint32_t> mTimePerTick;
    std::atomic<int32_t> mIrChannel{0};
    std::atomic<int32_t> mIrThreshold{0};
    std::atomic<bool> mBeepProgramSent{false};

    // Serialises sending with Clear and BroadcastMidiInit.
    mutable std::mutex mSendLock;
    int64_t mLastStamp = 0;  // the latest stamp sent; under mSendLock

    // The thread's schedule and its wake-up, under mWakeLock.
    mutable std::mutex mWakeLock;
    mutable std::condition_variable mWakeSignal;  // new music or a stop request
    mutable std::condition_variable mPassDone;    // the thread finished a pass
    bool mWakeToken = false;
    uint64_t mPasses = 0;  // passes of the thread body, counted as each ends
    bool mIdle = false;
    bool mScheduleLive = false;  // the thread runs a schedule (started and not idle)
    int64_t mTimeBase = 0;       // the clock's time that corresponds to the play position

    // Compile state; machine thread only.
    TMmlTokenizer mTokenizer;
    int mCompileChannel = 0;
    std::optional<int64_t> mLastBeepOff;
    std::optional<int64_t> mLastBeepOn;
};
