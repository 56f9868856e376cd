#include "debugger/DebugSink.h"

#include <chrono>

bool TDebugClock::WaitFor(std::condition_variable& signal, std::unique_lock<std::mutex>& lock,
                          platform::bigtime_t micros, const std::function<bool()>& done) const
{
    return signal.wait_for(lock, std::chrono::microseconds(micros < 0 ? 0 : micros), done);
}

const TDebugClock& TDebugClock::System()
{
    static const TDebugClock clock;
    return clock;
}
