#include "machine/music/MMLPlayer.h"

#include <algorithm>
#include <limits>

#include "machine/host/HostInterfaces.h"
#include "machine/music/MmlMachineLink.h"
#include "machine/music/MmlPrefs.h"
#include "machine/music/MmlTables.h"
#include "machine/music/MusicClock.h"

namespace {

constexpr int32_t kPlayerPriority = 120;

// MIDI controllers sent by Clear.
constexpr uint8_t kAllSoundOff = 120;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kAllNotesOff = 123;

// The universal non-real-time General MIDI System On body, without 0xF0 and 0xF7.
const std::vector<uint8_t> kGmSystemOn{0x7E, 0x7F, 0x09, 0x01};

// The longest single sleep, in ticks.
constexpr int64_t kMaxSleepTicks = 4294967295LL;

const TMmlPrefs& DefaultPrefs()
{
    static const TMmlAppPrefs prefs;
    return prefs;
}

uint8_t DataByte(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 127));
}

}  // namespace

TMmlPlayer::TMmlPlayer(const TMusicClock* clock)
    : TThread("MML Player", kPlayerPriority), mClock(clock != nullptr ? *clock : TSystemMusicClock::Instance()),
      mTimePerTick(TimePerTickOf(kDefaultTempo))
{
    Clear();
}

TMmlPlayer::~TMmlPlayer()
{
    // The owner normally has stopped the thread already; then these do nothing.
    Terminate();
    Wait(nullptr);
}

bool TMmlPlayer::SetProducer(TMidiOutput* output)
{
    mOutput.store(output, std::memory_order_release);
    return true;
}

bool TMmlPlayer::SetVMachine(TMmlMachineLink* machine)
{
    std::lock_guard<std::mutex> guard(mMachineLock);
    mMachine = machine;
    return true;
}

void TMmlPlayer::SetPrefs(const TMmlPrefs* prefs)
{
    mPrefs.store(prefs, std::memory_order_release);
}

int32_t TMmlPlayer::Terminate()
{
    TThread::Terminate();
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mWakeToken = true;
    }
    mClock.Notify(mWakeSignal);
    return 0;
}

int32_t TMmlPlayer::Resume()
{
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mWakeToken = true;
    }
    const int32_t result = TThread::Resume();
    mClock.Handover(mWakeSignal);
    return result;
}

uint32_t TMmlPlayer::TimePerTickOf(int32_t tempo)
{
    const int64_t divisor = static_cast<int64_t>(std::max(tempo, 1)) * kTicksPerQuarter;
    return static_cast<uint32_t>(std::max<int64_t>(60000000LL / divisor, 1));
}

void TMmlPlayer::SetTimePerTick(int32_t tempo)
{
    mTimePerTick.store(TimePerTickOf(tempo), std::memory_order_release);
}

int32_t TMmlPlayer::SsgVolume() const
{
    const TMmlPrefs* prefs = mPrefs.load(std::memory_order_acquire);
    return (prefs != nullptr ? *prefs : DefaultPrefs()).SsgVolume();
}

int64_t TMmlPlayer::MidiLatency() const
{
    const TMmlPrefs* prefs = mPrefs.load(std::memory_order_acquire);
    return (prefs != nullptr ? *prefs : DefaultPrefs()).MidiLatency();
}

// ---------------------------------------------------------------------------
// The thread body

int32_t TMmlPlayer::Execute()
{
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mTimeBase = mClock.NowMicros();
        mScheduleLive = true;
    }
    for (;;) {
        if (StopRequested()) {
            Clear();
            return 0;
        }

        std::array<size_t, kChannels> remaining{};
        SendDueCommands(remaining);
        RaiseMusicInterrupt(remaining);

        int64_t ticks = 0;
        const bool busy = NextDue(&ticks);

        std::unique_lock<std::mutex> lock(mWakeLock);
        ++mPasses;
        mClock.Notify(mPassDone);
        const auto woken = [this] { return mWakeToken || StopRequested(); };
        if (busy) {
            const uint32_t timePerTick = mTimePerTick.load(std::memory_order_acquire);
            const int64_t deadline = mTimeBase + ticks * timePerTick;
            mClock.WaitUntil(lock, mWakeSignal, deadline, woken);
            mWakeToken = false;
            // The schedule moves by computation, not by the clock, so it does not drift;
            // a wake-up before the deadline (new music) moves it by the whole ticks passed.
            int64_t advanced = ticks;
            const int64_t now = mClock.NowMicros();
            if (now < deadline) advanced = std::clamp<int64_t>((now - mTimeBase) / timePerTick, 0, ticks);
            mTimeBase += advanced * timePerTick;
            mPlayPos.fetch_add(advanced, std::memory_order_acq_rel);
        } else {
            mIdle = true;
            mScheduleLive = false;
            mClock.Notify(mPassDone);
            // Through the clock, so that a clock simulating time sees the thread wait.
            mClock.WaitUntil(lock, mWakeSignal, TMusicClock::kNoDeadline, woken);
            mIdle = false;
            mWakeToken = false;
            // Music that arrives after a pause is measured from the moment of waking.
            mTimeBase = mClock.NowMicros();
            mScheduleLive = true;
        }
    }
}

void TMmlPlayer::SendDueCommands(std::array<size_t, kChannels>& remaining)
{
    std::lock_guard<std::mutex> sending(mSendLock);
    int64_t timeBase;
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        timeBase = mTimeBase;
    }
    const int64_t playPos = PlayPosition();
    for (int channel = 0; channel < kChannels; ++channel) {
        Channel& ch = mChannels[channel];
        std::unique_lock<std::mutex> lock(ch.Lock);
        while (!ch.Queue.empty() && ch.Queue.top().Tick <= playPos) {
            TPlayData command;
            if (channel == 0) {
                command = OptimizedBeepQueuePop();
            } else {
                command = ch.Queue.top();
                ch.Queue.pop();
            }
            lock.unlock();
            Send(command, timeBase, playPos);
            lock.lock();
        }
        remaining[channel] = ch.Queue.size() / 2;
    }
}

TPlayData TMmlPlayer::OptimizedBeepQueuePop()
{
    TPlayQueue& queue = mChannels[0].Queue;
    TPlayData command = queue.top();
    queue.pop();
    while (!queue.empty() && queue.top().Tick == command.Tick) {
        command = queue.top();
        queue.pop();
    }
    return command;
}

void TMmlPlayer::Send(const TPlayData& command, int64_t timeBase, int64_t playPos)
{
    TMidiOutput* output = mOutput.load(std::memory_order_acquire);
    const int64_t timePerTick = mTimePerTick.load(std::memory_order_acquire);
    const int64_t time = timeBase + (command.Tick - playPos) * timePerTick + MidiLatency();
    const uint8_t channel = static_cast<uint8_t>(command.Channel);
    const uint8_t data1 = DataByte(command.Data1);
    const uint8_t data2 = DataByte(command.Data2);

    switch (command.Command) {
    case pmcNoteOn:
        if (output != nullptr) output->NoteOn(channel, data1, data2, time);
        break;
    case pmcNoteOff:
        if (output != nullptr) {
            if (channel == 0) output->ControlChange(0, kAllNotesOff, 0, 0);
            output->NoteOff(channel, data1, data2, time);
        }
        break;
    case pmcProgramChange:
        mChannels[command.Channel].Program.store(data1, std::memory_order_release);
        if (output != nullptr) output->ProgramChange(channel, data1, time);
        break;
    case pmcTempo: SetTimePerTick(command.Data1); return;
    case pmcMarker: return;
    }
    mLastStamp = std::max(mLastStamp, time);
}

void TMmlPlayer::RaiseMusicInterrupt(const std::array<size_t, kChannels>& remaining)
{
    std::lock_guard<std::mutex> guard(mMachineLock);
    if (mMachine == nullptr) return;
    const int32_t setting = mIrChannel.load(std::memory_order_acquire);
    int watched = setting;
    if (setting <= 0) {
        watched = 1;
        for (int channel = 2; channel < kChannels; ++channel) {
            const bool better =
                setting == 0 ? remaining[channel] > remaining[watched] : remaining[channel] < remaining[watched];
            if (better) watched = channel;
        }
    } else if (setting >= kChannels) {
        return;
    }
    const int32_t threshold = mIrThreshold.load(std::memory_order_acquire);
    if (threshold >= 0 && remaining[watched] <= static_cast<size_t>(threshold)) mMachine->RaiseMusicInterrupt();
}

bool TMmlPlayer::NextDue(int64_t* ticks) const
{
    const int64_t playPos = PlayPosition();
    int64_t nearest = kMaxSleepTicks;
    bool busy = false;
    for (const Channel& ch : mChannels) {
        std::lock_guard<std::mutex> guard(ch.Lock);
        if (ch.Queue.empty()) continue;
        busy = true;
        nearest = std::min(nearest, ch.Queue.top().Tick - playPos);
    }
    *ticks = std::max<int64_t>(nearest, 0);
    return busy;
}

// ---------------------------------------------------------------------------
// Control from the machine

int64_t TMmlPlayer::StampAfterSent() const
{
    // Notes already sent go out up to the latency ahead of the clock; a reset stamped
    // "now" would reach the synthesizer before them and leave them hanging.
    return std::max(mClock.NowMicros(), mLastStamp);
}

void TMmlPlayer::ResetChannel(int channel)
{
    Channel& ch = mChannels[channel];
    int program;
    int velocity;
    if (channel == 0) {
        program = 81;
        velocity = 127;
    } else if (channel <= 3) {
        program = gMmlVoiceTable[0];
        velocity = 64;
    } else {
        program = gMmlSsgTable[1];
        velocity = std::clamp(SsgVolume() * 64 / 100, 0, 127);
    }
    ch.Background.store(false);
    ch.Gate.store(7);
    ch.Length.store(4);
    ch.Octave.store(4);
    ch.Program.store(program);
    ch.Velocity.store(velocity);
    ch.CompilePos.store(0);
}

void TMmlPlayer::Clear()
{
    std::lock_guard<std::mutex> sending(mSendLock);
    mBeepProgramSent.store(false);
    mIrThreshold.store(0);
    mIrChannel.store(0);
    SetTimePerTick(kDefaultTempo);
    TMidiOutput* output = mOutput.load(std::memory_order_acquire);
    for (int channel = 0; channel < kChannels; ++channel) {
        {
            std::lock_guard<std::mutex> guard(mChannels[channel].Lock);
            mChannels[channel].Queue = TPlayQueue();
        }
        ResetChannel(channel);
        if (output != nullptr) {
            const uint8_t midiChannel = static_cast<uint8_t>(channel);
            output->ControlChange(midiChannel, kAllNotesOff, 0, StampAfterSent());
            output->ControlChange(midiChannel, kAllSoundOff, 0, StampAfterSent());
            output->ControlChange(midiChannel, kResetAllControllers, 0, StampAfterSent());
        }
    }
}

void TMmlPlayer::BroadcastMidiInit()
{
    std::lock_guard<std::mutex> sending(mSendLock);
    TMidiOutput* output = mOutput.load(std::memory_order_acquire);
    if (output == nullptr) return;
    output->SystemExclusive(kGmSystemOn, 0);
    for (int channel = 0; channel < kChannels; ++channel) {
        output->ProgramChange(static_cast<uint8_t>(channel), DataByte(mChannels[channel].Program.load()),
                              StampAfterSent());
    }
}

bool TMmlPlayer::ForegroundBusy() const
{
    for (const Channel& ch : mChannels) {
        std::lock_guard<std::mutex> guard(ch.Lock);
        if (!ch.Background.load() && !ch.Queue.empty()) return true;
    }
    return false;
}

bool TMmlPlayer::OverQueueLimit() const
{
    const size_t limit = mQueueLimit.load(std::memory_order_acquire);
    for (const Channel& ch : mChannels) {
        std::lock_guard<std::mutex> guard(ch.Lock);
        if (ch.Queue.size() > limit) return true;
    }
    return false;
}

void TMmlPlayer::MfBlocking(const TMmlMachineLink& waiter)
{
    for (;;) {
        // The pass count is read before the queues are looked at: a pass that empties
        // them after the look ends the wait at once instead of after a poll.
        uint64_t pass;
        {
            std::lock_guard<std::mutex> guard(mWakeLock);
            pass = mPasses;
        }
        if ((!ForegroundBusy() && !OverQueueLimit()) || waiter.IsStopRequested()) return;
        std::unique_lock<std::mutex> lock(mWakeLock);
        // On the music clock, so that a simulated clock counts this thread as waiting;
        // the clock looks at the stop request by itself now and then.
        mClock.WaitUntil(lock, mPassDone, TMusicClock::kNoDeadline,
                         [&] { return mPasses != pass || waiter.IsStopRequested(); });
    }
}

bool TMmlPlayer::IsBufferEmpty() const
{
    for (const Channel& ch : mChannels) {
        std::lock_guard<std::mutex> guard(ch.Lock);
        if (!ch.Queue.empty()) return false;
    }
    return true;
}

void TMmlPlayer::SetIrOptCh(int32_t channel)
{
    mIrChannel.store(channel, std::memory_order_release);
}

void TMmlPlayer::SetIrOptByte(int32_t count)
{
    mIrThreshold.store(count, std::memory_order_release);
}

int32_t TMmlPlayer::ProducerConnections() const
{
    const TMidiOutput* output = mOutput.load(std::memory_order_acquire);
    return output != nullptr ? output->Connections() : 0;
}

int64_t TMmlPlayer::LivePlayPosition() const
{
    std::lock_guard<std::mutex> guard(mWakeLock);
    const int64_t playPos = PlayPosition();
    if (!mScheduleLive) return playPos;
    // While the thread sleeps until its next command the play position lags behind the
    // present; music for an idle channel starts at the present, not in the past.
    const int64_t timePerTick = mTimePerTick.load(std::memory_order_acquire);
    return playPos + std::max<int64_t>((mClock.NowMicros() - mTimeBase) / timePerTick, 0);
}

void TMmlPlayer::ClearCompileLastTick()
{
    const int64_t playPos = LivePlayPosition();
    for (Channel& ch : mChannels) {
        std::lock_guard<std::mutex> guard(ch.Lock);
        if (ch.Queue.empty() && ch.CompilePos.load() < playPos) ch.CompilePos.store(playPos);
    }
}

// ---------------------------------------------------------------------------
// Observation

TMmlPlayer::ChannelSettings TMmlPlayer::Settings(int channel) const
{
    const Channel& ch = mChannels.at(static_cast<size_t>(channel));
    return {ch.Background.load(), ch.Gate.load(),     ch.Length.load(),    ch.Octave.load(),
            ch.Program.load(),    ch.Velocity.load(), ch.CompilePos.load()};
}

std::vector<TPlayData> TMmlPlayer::Queued(int channel) const
{
    const Channel& ch = mChannels.at(static_cast<size_t>(channel));
    TPlayQueue copy;
    {
        std::lock_guard<std::mutex> guard(ch.Lock);
        copy = ch.Queue;
    }
    std::vector<TPlayData> commands;
    for (; !copy.empty(); copy.pop()) commands.push_back(copy.top());
    return commands;
}

bool TMmlPlayer::WaitUntilIdle(std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mWakeLock);
    return mPassDone.wait_for(lock, timeout, [this] { return mIdle && !mWakeToken; });
}
