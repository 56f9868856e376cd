#pragma once
// What the debugging machine has reported and the debug view has not shown yet.
//
// The machine's waiting reports ('clnc', 'acsr', 'rcsr', 'uvir') are handled by being
// noted here, on the machine's thread, so that the machine goes on at once; the view
// takes everything at its next repaint. Noted reports are folded together: of the
// lines only the last counts, calls and returns cancel out, and of each element only
// its last value is kept, so the queue stays small however far the machine runs
// ahead. A posted report ('dbbr', 'rsvr', 'dbed', 'sslr') is kept whole, after the
// noted ones that came before it. Safe to use from several threads.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Message.h"

// The waiting reports of one run between two posted ones, folded.
struct TDebugNotes {
    int64_t Run = 0;
    std::optional<int32_t> Line;                                    // the last line that began
    int32_t Returns = 0;                                            // calls of earlier notes that returned
    std::vector<int32_t> Calls;                                     // calling lines still open, oldest first
    std::map<std::pair<std::string, int32_t>, std::string> Values;  // (name, element) → text

    bool Empty() const { return !Line && Returns == 0 && Calls.empty() && Values.empty(); }
};

// One entry of the queue: folded notes, or a posted report.
struct TDebugReport {
    bool Posted = false;
    TDebugNotes Notes;
    platform::Message Message;
};

class TDebugReportQueue {
public:
    // A waiting report; false when it is none of the four kinds (nothing is noted).
    bool Note(const platform::Message& message);
    // A posted report, after everything noted so far.
    void Add(const platform::Message& message);
    // Everything in order, and the queue emptied.
    std::vector<TDebugReport> Take();

private:
    TDebugNotes& OpenNotes(int64_t run);

    std::mutex mLock;
    std::vector<TDebugReport> mReports;
    bool mNotesOpen = false;  // the last entry takes further notes
};
