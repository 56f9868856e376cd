#pragma once
// What a text costs the run's memory budget: the heap bytes its string really holds,
// not only its length. A string whose text fits in the string object itself holds
// none; a longer one holds its capacity, the closing NUL and the allocator's header.
//
// A text kept by a variable never has much more room than its length: a string that
// comes with more (a pooled string that held a long text before, a join that grew by
// doubling) is copied into one of the text's own size when it is stored, so that the
// budget's count and the memory the host gives stay close.

#include <cstddef>
#include <string>
#include <string_view>

namespace kept_text {

// The room of a string without a heap block of its own (not a constant expression
// with every compiler and library).
inline const std::size_t INLINE_CAPACITY = std::string().capacity();
// What the allocator keeps beside each block (its header, and rounding up to 16).
inline constexpr std::size_t BLOCK_OVERHEAD = 16;

// The heap bytes of a string with room for `capacity` bytes.
inline std::size_t HeldFor(std::size_t capacity)
{
    return capacity > INLINE_CAPACITY ? capacity + 1 + BLOCK_OVERHEAD : 0;
}
inline std::size_t Held(const std::string& s)
{
    return HeldFor(s.capacity());
}

// The room beyond its length that a kept text may have.
constexpr std::size_t Slack(std::size_t length)
{
    return 64 + length / 8;
}
// Whether a string has more room than a kept text of its length may have.
inline bool TooRoomy(const std::string& s)
{
    return s.capacity() > s.size() + Slack(s.size());
}

// The room a text copied into a variable gets: a short one a little to grow into,
// so that a variable given texts of slowly changing length keeps its string instead
// of a new one each time; a long one just its length.
inline std::size_t CopyRoom(std::size_t length)
{
    constexpr std::size_t SHORT = 4096;  // below this a text gets room to grow
    constexpr std::size_t GROWTH = 32;   // well within Slack, so the copy is never too roomy
    return length < SHORT ? length + GROWTH : length;
}

// A string holding `text` with room for exactly `room` bytes (at least the text's).
// Growing a string in place may double its room whatever was asked; a new string
// takes what it is given. Out of line: it makes a block anyway, and the dispatch
// loop, which calls it, must not grow by it (VMachineRunCodes.cpp).
[[gnu::noinline]] inline std::string WithRoom(std::string_view text, std::size_t room)
{
    std::string s;
    s.reserve(room < text.size() ? text.size() : room);
    s.append(text);
    return s;
}

}  // namespace kept_text
