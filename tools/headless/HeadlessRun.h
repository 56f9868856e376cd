#pragma once
// One run of a program list without a window: read as the editor opens a list, run in
// a run session (session/RunSession.h) as the run window runs it, and report the
// screen and the alerts. The program's run requests are followed as the editor
// follows them: RUN, RUN n and RUN *label run the same list again from its start, the
// line or the label; RUN "file" and CHAIN load (or merge) the list and run it on the
// same devices. One time-out covers the whole chain of runs.

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
