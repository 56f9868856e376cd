#pragma once
// The application-wide settings and flags the machine reads while other threads may
// change them: each read is atomic.

#include <cstdint>

// The application has begun to quit: a run ends without output or requests.
bool machine_app_quitting();
// The user killed the current run: no repeat request follows it.
bool machine_run_killed();
// The exit state "RptR": each normal end of a run asks for the next run.
bool machine_repeat_runs();
// The preference "SpCI": the speed-control wait per statement, in microseconds.
int64_t machine_speed_control_interval();
