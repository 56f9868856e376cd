#include "debugger/BreakPointSet.h"

#include <algorithm>

void TBreakPointSet::Add(int32_t line)
{
    std::lock_guard lock(mLock);
    const auto at = std::lower_bound(mLines.begin(), mLines.end(), line);
    if (at == mLines.end() || *at != line) mLines.insert(at, line);
}

void TBreakPointSet::Remove(int32_t line)
{
    std::lock_guard lock(mLock);
    const auto at = std::lower_bound(mLines.begin(), mLines.end(), line);
    if (at != mLines.end() && *at == line) mLines.erase(at);
}

bool TBreakPointSet::Contains(int32_t line) const
{
    std::lock_guard lock(mLock);
    return std::binary_search(mLines.begin(), mLines.end(), line);
}

std::vector<int32_t> TBreakPointSet::Lines() const
{
    std::lock_guard lock(mLock);
    return mLines;
}
