#pragma once
// One run's allowance for what a program keeps: array blocks with their string
// texts, the texts of plain string variables, the images of GET@ and PUT@, and DEF FN
// frames. A text counts with the heap bytes its string really holds (KeptText.h). A
// new block for a long text in the making (a join, a line read from a file) is checked
// against what is left before it is made, beside the texts it is made from. A program
// that would pass the allowance gets "Out of memory" in the line that asked, and the
// host keeps its memory. Only the machine thread uses it.

#include <cstddef>

class TMemoryBudget {
public:
    // Far above what a real program keeps.
    static constexpr std::size_t DEFAULT_LIMIT = std::size_t{1} << 30;

    explicit TMemoryBudget(std::size_t limit = DEFAULT_LIMIT) : mLimit(limit) {}

    // Inline: every store of a text charges its change of length.
    // Takes `bytes`; false, with nothing taken, when that would pass the limit.
    bool Take(std::size_t bytes) { return Replace(0, bytes); }
    // Gives `bytes` back (never below nothing taken).
    void Give(std::size_t bytes) { mUsed = bytes < mUsed ? mUsed - bytes : 0; }
    // Gives `freed` back and takes `needed` in one step; false, with nothing changed,
    // when the result would pass the limit.
    bool Replace(std::size_t freed, std::size_t needed)
    {
        const std::size_t kept = freed < mUsed ? mUsed - freed : 0;
        if (kept > mLimit || needed > mLimit - kept) return false;
        mUsed = kept + needed;
        return true;
    }

    std::size_t Used() const { return mUsed; }
    std::size_t Limit() const { return mLimit; }
    // How much may still be taken.
    std::size_t Room() const { return mLimit - mUsed; }
    void SetLimit(std::size_t limit) { mLimit = limit; }

private:
    std::size_t mLimit;
    std::size_t mUsed = 0;
};
