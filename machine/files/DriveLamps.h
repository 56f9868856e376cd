#pragma once
// The access lamps of drives 1 and 2 (indexes 0 and 1). A request lights the lamp
// of its drive (+1 to the host's lamp counter) and puts it out 200000 microseconds
// later (−1), so each request keeps the lamp lit for at least two tenths of a
// second and overlapping requests keep it lit. At most one request per drive goes
// out per tenth of a second; the ones in between are dropped.
//
// Requests come from the machine thread. The delayed −1 is sent by a timer thread of
// the lamps' own, started with the first request; pending ones are dropped when the
// lamps are destroyed, together with the devices and their host.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "machine/host/HostInterfaces.h"

class TDriveLampControl {
public:
    static constexpr int LAMP_DRIVES = 2;
    static constexpr int64_t MIN_INTERVAL = 100000;
    static constexpr int64_t LIT_TIME = 200000;

    TDriveLampControl();
    ~TDriveLampControl();

    TDriveLampControl(const TDriveLampControl&) = delete;
    TDriveLampControl& operator=(const TDriveLampControl&) = delete;

    // Replaces the clock that times the requests (tests); null restores the system clock.
    void SetClock(const THostClock* clock);

    // Requests the lamp of a drive index: drives other than 0 and 1 have none, and a
    // request within MIN_INTERVAL of the last one sent for the drive is dropped.
    void Request(long drive, TDriveLamps* lamps);

    // Sends every −1 that is due by the clock now; the timer thread calls it, and
    // tests with their own clock may call it too.
    void SendDue();

private:
    struct TPendingOff {
        int64_t When;
        long Drive;
        TDriveLamps* Lamps;
    };

    void TimerBody();

    const THostClock* mClock;
    int64_t saLastAccessTime[LAMP_DRIVES] = {};
    bool mSentOnce[LAMP_DRIVES] = {};

    std::mutex mLock;
    std::condition_variable mWake;
    std::vector<TPendingOff> mPending;
    bool mQuit = false;
    std::thread mTimer;
};
