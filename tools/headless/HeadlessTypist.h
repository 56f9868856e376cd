#pragma once
// The keys of --keys typed into a running machine's key buffer, one character a key
// (a UTF-8 character of up to three bytes is one key), as fast as the buffer takes
// them: a key is pushed only while the buffer has room, so none is lost.
//
// The unescaped keys (HeadlessOptions.h) hold two kinds of step besides characters,
// each behind a zero byte:
//   a number 1 to 10: that function key is pressed as the run window presses it (its
//     string typed, its interrupt raised), once the buffer is empty so that all of the
//     string fits;
//   'w', decimal digits and ';': typing waits until that many milliseconds of the
//     machine's clock have passed since the run began or the previous wait ended.
//
// Waits go through the session's clock. On a simulated clock the typist takes part in
// its time line from Begin until it has typed everything (or the run ends), so that
// time moves only while it waits too and each key arrives at the same moment of every
// run.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

class TBasicRsrc;
class TMusicClock;
class TSimulatedMusicClock;

class THeadlessTypist {
public:
    // press: presses function key n (1 to 10).
    THeadlessTypist(std::string keys, std::function<void(int)> press) : mKeys(std::move(keys)), mPress(std::move(press))
    {}
    ~THeadlessTypist() { End(); }

    THeadlessTypist(const THeadlessTypist&) = delete;
    THeadlessTypist& operator=(const THeadlessTypist&) = delete;

    // Pushes the next keys while the key buffer has room, up to a wait step.
    void TypeInto(TBasicRsrc& rsrc);
    bool Done() const { return mNext >= mKeys.size(); }
    // The milliseconds of the wait step the typing stands at, or −1 when it stands at
    // none.
    int64_t PendingWait() const;
    // Skips the wait step the typing stands at.
    void PassWait();

    // The start of the run: waits count from the clock's time now. On a simulated clock
    // the typist takes part in time from here on, when it has keys to type.
    void Begin(const TMusicClock& clock, TSimulatedMusicClock* simulated);
    // Types every key, waiting for room and for the wait steps, until all are typed or
    // `ended` says the run is over; then ends the typist's part in time.
    void Run(TBasicRsrc& rsrc, const std::function<bool()>& ended);
    // Ends the typist's part in a simulated clock's time (also when Run never ran).
    void End();

private:
    std::string mKeys;
    std::function<void(int)> mPress;
    std::size_t mNext = 0;

    const TMusicClock* mClock = nullptr;
    TSimulatedMusicClock* mSimulated = nullptr;  // while the typist takes part in it
    int64_t mWaitsFrom = 0;                      // where the next wait step counts from
    std::mutex mWaitLock;
    std::condition_variable mWaitSignal;
};
