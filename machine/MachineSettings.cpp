#include "machine/MachineSettings.h"

// The application's settings records are read here once they exist; until then the
// defaults of the records hold: not quitting, not killed, no repeat, 20000 µs.
bool machine_app_quitting() { return false; }
bool machine_run_killed() { return false; }
bool machine_repeat_runs() { return false; }
int64_t machine_speed_control_interval() { return 20000; }
