#include "machine/host/MachineSettings.h"

#include "foundation/Common.h"

bool machine_app_quitting()
{
    return gAppPrivacy.Quitting.load(std::memory_order_acquire);
}
bool machine_run_killed()
{
    return gAppPrivacy.Killed.load(std::memory_order_acquire);
}
bool machine_repeat_runs()
{
    return gExitStates.RepeatRun.load();
}
int64_t machine_speed_control_interval()
{
    return gPrefs.SpeedControlInterval.load();
}
