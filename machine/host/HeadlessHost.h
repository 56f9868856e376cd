#pragma once
// Implementations of the host interfaces for running without a window: the headless
// driver and the tests. Each is safe to call from several threads.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "machine/host/HostInterfaces.h"

// Counts redraw requests and keeps the union of their areas.
class THeadlessScreenUpdates : public TScreenUpdateSink {
public:
    void ScreenUpdateRqtd(const TScreenRect& area) override;
    long Count() const { return mCount.load(); }
    TScreenRect Requested() const;

private:
    std::atomic<long> mCount{0};
    mutable std::mutex mLock;
    TScreenRect mArea;
};

// Keeps every run request, in order.
class TRecordingRunRequests : public TRunRequestSink {
public:
    void VMachineRunRqtd(const TRunRequest& request) override;
    std::vector<TRunRequest> Requests() const;

private:
    mutable std::mutex mLock;
    std::vector<TRunRequest> mRequests;
};

// Accepts or rejects the time text and remembers the last one armed; it never fires.
class THeadlessOnTimeTimer : public TOnTimeTimer {
public:
    long SetOnTimeDl(const char* time) override;
    std::string Armed() const;

private:
    mutable std::mutex mLock;
    std::string mArmed;
};

// Counts the lamp of each drive.
class THeadlessDriveLamps : public TDriveLamps {
public:
    void SetFDDAccessLampRqtd(int drvFolderIdx, int delta) override;
    int Lamp(int drvFolderIdx) const;

private:
    std::atomic<int> mLamps[14] = {};
};

// No MIDI outputs to connect to.
class TNoMidiOutputs : public TMidiOutputList {
public:
    std::vector<std::string> OutputNames() const override { return {}; }
};

// A font without glyphs.
class TNoGlyphs : public TGlyphSource {
public:
    bool GlyphRows(const std::string&, uint16_t rows[16]) const override;
};

// A keyboard with no key held down.
class TNoKeysHeld : public TKeyboardState {
public:
    uint8_t KeyMatrixRow(int) const override { return 0xFF; }
};

// The real monotonic clock and real sleeps.
class TSystemClock : public THostClock {
public:
    int64_t NowMicros() const override;
    void SleepMicros(int64_t micros) const override;
};
