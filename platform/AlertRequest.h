#pragma once
// One alert that a thread asks the GUI thread to show, and the answer it waits for.
//
// The asking thread must never wait for ever: a Kill or a Quit blocks the GUI thread
// until the asking thread has ended. So a request is settled by whichever comes first:
// the user's answer (Answer), a withdrawal (Withdraw, from any thread), or the asking
// thread's own stop flag, which Wait watches. A withdrawn request answers with the
// index it was made with for that case (the Escape button's, or 0), and whoever shows
// it is told to close it.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace platform {

class AlertRequest {
public:
    explicit AlertRequest(int32_t withdrawnAnswer) : mWithdrawnAnswer(withdrawnAnswer) {}

    AlertRequest(const AlertRequest&) = delete;
    AlertRequest& operator=(const AlertRequest&) = delete;

    // The first of Answer and Withdraw settles the request; later calls return false.
    bool Answer(int32_t index);
    bool Withdraw();

    // Called once, outside the request's lock, when the request is withdrawn; runs at
    // once when it already was. Meant for the GUI side to close its dialog.
    void SetOnWithdraw(std::function<void()> onWithdraw);

    // Blocks until the request is settled, or withdraws it when `stopFlag` (may be null)
    // is or becomes set; returns the answer.
    int32_t Wait(const std::atomic<bool>* stopFlag);

    bool IsSettled() const;
    bool WasWithdrawn() const;

private:
    mutable std::mutex mMutex;
    std::condition_variable mSettledChanged;
    const int32_t mWithdrawnAnswer;
    bool mSettled = false;
    bool mWithdrawn = false;
    int32_t mAnswer = 0;
    std::function<void()> mOnWithdraw;
};

}  // namespace platform
