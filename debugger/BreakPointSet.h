#pragma once
// The BASIC lines at which a debugged run stops: ascending, without duplicates. The
// debug window's thread changes it while the machine thread looks lines up in it, so
// every access takes the set's lock.

#include <cstdint>
#include <mutex>
#include <vector>

class TBreakPointSet {
public:
    // Adding a line already in the set, and removing one that is not, change nothing.
    void Add(int32_t line);
    void Remove(int32_t line);
    bool Contains(int32_t line) const;
    std::vector<int32_t> Lines() const;

private:
    mutable std::mutex mLock;
    std::vector<int32_t> mLines;
};
