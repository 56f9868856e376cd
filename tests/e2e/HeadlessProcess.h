#pragma once
// Runs kivo-headless as a separate process and collects what it prints.

#include <string>
#include <vector>

struct THeadlessOutcome {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
    long peakRssKib = 0;  // the most memory the process held at once (its peak resident set)
};

// limitSeconds above 0: a driver still running after so long is killed, and its
// status is -1.
THeadlessOutcome run_headless_process(const std::vector<std::string>& args, double limitSeconds = 0);
