#pragma once
// The two preferences the music player reads each time it uses them: "SVol", the SSG
// volume in percent (0 to 200), and "MDly", the MIDI latency in microseconds (0 to
// 3000000). Unless it is given others, the player reads the user preferences
// (TMmlAppPrefs); tests give it TMmlDefaultPrefs, which they can change freely.

#include <atomic>
#include <cstdint>

class TMmlPrefs {
public:
    virtual ~TMmlPrefs() = default;
    virtual int32_t SsgVolume() const = 0;
    virtual int64_t MidiLatency() const = 0;
};

// The defaults, changeable (tests, the headless driver); safe to change while the player runs.
class TMmlDefaultPrefs : public TMmlPrefs {
public:
    static constexpr int32_t kSsgVolume = 80;
    static constexpr int64_t kMidiLatency = 50000;

    int32_t SsgVolume() const override { return mSsgVolume.load(std::memory_order_relaxed); }
    int64_t MidiLatency() const override { return mMidiLatency.load(std::memory_order_relaxed); }

    void SetSsgVolume(int32_t percent) { mSsgVolume.store(percent, std::memory_order_relaxed); }
    void SetMidiLatency(int64_t microseconds) { mMidiLatency.store(microseconds, std::memory_order_relaxed); }

private:
    std::atomic<int32_t> mSsgVolume{kSsgVolume};
    std::atomic<int64_t> mMidiLatency{kMidiLatency};
};

// The user preferences of the application (gPrefs).
class TMmlAppPrefs : public TMmlPrefs {
public:
    int32_t SsgVolume() const override;
    int64_t MidiLatency() const override;
};
