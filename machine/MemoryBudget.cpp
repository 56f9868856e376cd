#include "machine/MemoryBudget.h"

bool TMemoryBudget::Take(std::size_t bytes)
{
    return Replace(0, bytes);
}

void TMemoryBudget::Give(std::size_t bytes)
{
    mUsed = bytes < mUsed ? mUsed - bytes : 0;
}

bool TMemoryBudget::Replace(std::size_t freed, std::size_t needed)
{
    const std::size_t kept = freed < mUsed ? mUsed - freed : 0;
    if (kept > mLimit || needed > mLimit - kept) return false;
    mUsed = kept + needed;
    return true;
}
