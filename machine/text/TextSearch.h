#pragma once
// The search of INSTR and KINSTR: the two-way string matching of Crochemore and
// Perrin, which finds a pattern of m bytes in a text of n bytes with at most 2n
// comparisons after an O(m) look at the pattern, in constant extra memory. A plain
// search costs n times m on texts such as "XXX...X" and "XX...XY".

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace text_search {

// The question "has the run been stopped?", borrowed from the caller for one search.
// It refers to the callable and never copies it, so that a search as short as most
// INSTRs are pays nothing to set it up.
class TStopCheck {
public:
    TStopCheck() = default;
    template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, TStopCheck>)
        TStopCheck(const F& callable)  // NOLINT(google-explicit-constructor): lambdas pass as they are
        : mCallable(&callable), mCall([](const void* c) { return static_cast<bool>((*static_cast<const F*>(c))()); })
    {}
    explicit operator bool() const { return mCall != nullptr; }
    bool operator()() const { return mCall(mCallable); }

private:
    const void* mCallable = nullptr;
    bool (*mCall)(const void*) = nullptr;
};

// The first position at or after `from` where `pattern` occurs in `text`, or npos.
// An empty pattern occurs at `from` when `from` is within the text or at its end.
// `stopped` (when given) is asked after every million or so compared bytes; once it
// answers true the search gives up and returns npos.
std::size_t find_text(std::string_view text, std::string_view pattern, std::size_t from,
                      const TStopCheck& stopped = {});

}  // namespace text_search
