#pragma once
// A gate a machine thread waits at, inside a statement, until the test opens it. It
// does not look at the stop flag, so the statement runs long whatever a Kill asks, as
// a long search or a slow device would. A guard opens it when nothing else has after
// a generous limit, so that a test of a Kill that waits for the statement fails
// instead of hanging.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "machine/host/HostInterfaces.h"

class TStatementGate {
public:
    // Long enough for any loaded machine; reached only when something hangs.
    static constexpr std::chrono::seconds kHangLimit{30};

    TStatementGate()
        : mGuard([this] {
              std::unique_lock<std::mutex> lock(mLock);
              if (!mSignal.wait_for(lock, kHangLimit, [this] { return mOpen; })) {
                  mOpen = true;
                  mOpenedByGuard = true;
                  mSignal.notify_all();
              }
          })
    {}
    ~TStatementGate()
    {
        Open();
        mGuard.join();
    }
    TStatementGate(const TStatementGate&) = delete;
    TStatementGate& operator=(const TStatementGate&) = delete;

    // The machine thread: waits until the gate is open.
    void Pass()
    {
        std::unique_lock<std::mutex> lock(mLock);
        mEntered = true;
        mSignal.notify_all();
        mSignal.wait(lock, [this] { return mOpen; });
    }
    // True once a thread waits at the gate (or has passed it).
    bool WaitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(mLock);
        return mSignal.wait_for(lock, kHangLimit, [this] { return mEntered; });
    }
    void Open()
    {
        std::lock_guard<std::mutex> lock(mLock);
        mOpen = true;
        mSignal.notify_all();
    }
    bool IsOpen() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mOpen;
    }
    bool OpenedByGuard() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mOpenedByGuard;
    }

private:
    mutable std::mutex mLock;
    std::condition_variable mSignal;
    bool mEntered = false;
    bool mOpen = false;
    bool mOpenedByGuard = false;
    std::thread mGuard;  // last: it starts once the fields above exist
};

// Keyboard rows read through a gate: INP(&HE2) sits in the statement until the test
// opens it.
class TGatedKeyboard : public TKeyboardState {
public:
    uint8_t KeyMatrixRow(int) const override
    {
        gate.Pass();
        return 0xFF;
    }
    mutable TStatementGate gate;
};
