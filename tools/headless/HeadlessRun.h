#pragma once
// One run of a program list without a window: read as the editor opens a list,
// prepare, compile, run on a fresh set of devices, and report the screen and the
// alerts. A run request that names a list file (RUN "file", CHAIN) is followed as the
// editor follows it: the list is loaded or merged and run on the same devices.

#include <ostream>

#include "tools/headless/HeadlessOptions.h"

// Exit statuses of kivo-headless.
enum THeadlessExit : int {
    HEADLESS_ENDED = 0,
    HEADLESS_RUNTIME_ERROR = 1,
    HEADLESS_COMPILE_ERROR = 2,
    HEADLESS_TIMEOUT = 3,
    HEADLESS_BAD_ARGUMENTS = 4,
};

// Writes the text screen after the run to `out` and every alert (and the driver's
// own complaints) to `err`; returns the exit status.
int run_headless(const THeadlessOptions& options, std::ostream& out, std::ostream& err);
