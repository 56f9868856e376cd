#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

bigtime_t system_time()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void snooze(bigtime_t us)
{
    if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
}

void snooze_until(bigtime_t when)
{
    snooze(when - system_time());
}

}  // namespace platform
