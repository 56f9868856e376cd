#pragma once
// The search of INSTR and KINSTR: the two-way string matching of Crochemore and
// Perrin, which finds a pattern of m bytes in a text of n bytes with at most 2n
// comparisons after an O(m) look at the pattern, in constant extra memory. A plain
// search costs n times m on texts such as "XXX...X" and "XX...XY".

#include <cstddef>
#include <functional>
#include <string_view>

namespace text_search {

using TStopCheck = std::function<bool()>;

// The first position at or after `from` where `pattern` occurs in `text`, or npos.
// An empty pattern occurs at `from` when `from` is within the text or at its end.
// `stopped` (when given) is asked after every million or so compared bytes; once it
// answers true the search gives up and returns npos.
std::size_t find_text(std::string_view text, std::string_view pattern, std::size_t from,
                      const TStopCheck& stopped = {});

}  // namespace text_search
