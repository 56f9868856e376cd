// The two-way search (TextSearch.h).

#include "machine/text/TextSearch.h"

#include <algorithm>
#include <cstring>

namespace text_search {

namespace {

// Compared bytes between two questions to the stop check.
constexpr std::size_t POLL_INTERVAL = std::size_t{1} << 20;

struct TStopped {};

// The pattern's critical factorization and the search over the text. Positions are
// signed: the factorization's position starts at -1, before the first byte.
class TTwoWay {
public:
    TTwoWay(std::string_view text, std::string_view pattern, const TStopCheck& stopped)
        : mText(reinterpret_cast<const unsigned char*>(text.data())),
          mPattern(reinterpret_cast<const unsigned char*>(pattern.data())),
          mN(static_cast<std::ptrdiff_t>(text.size())), mM(static_cast<std::ptrdiff_t>(pattern.size())),
          mStopped(stopped)
    {}

    std::size_t Find(std::ptrdiff_t from);

private:
    struct TSuffix {
        std::ptrdiff_t start;  // one before the suffix's first byte
        std::ptrdiff_t period;
    };

    // The pattern's maximal suffix in the byte order, or in the reversed order.
    TSuffix MaximalSuffix(bool reversed);
    std::size_t FindPeriodic(std::ptrdiff_t j, std::ptrdiff_t ell, std::ptrdiff_t period);
    std::size_t FindAperiodic(std::ptrdiff_t j, std::ptrdiff_t ell);

    // One step of work; every POLL_INTERVAL steps the stop check is asked.
    void Tick()
    {
        if (++mWork == POLL_INTERVAL) [[unlikely]] {
            mWork = 0;
            if (mStopped && mStopped()) throw TStopped{};
        }
    }
    bool Same(std::ptrdiff_t i, std::ptrdiff_t j)
    {
        Tick();
        return mPattern[i] == mText[i + j];
    }

    const unsigned char* mText;
    const unsigned char* mPattern;
    std::ptrdiff_t mN;
    std::ptrdiff_t mM;
    const TStopCheck& mStopped;
    std::size_t mWork = 0;
};

TTwoWay::TSuffix TTwoWay::MaximalSuffix(bool reversed)
{
    std::ptrdiff_t ms = -1, j = 0, k = 1, p = 1;
    while (j + k < mM) {
        Tick();
        const unsigned char a = mPattern[j + k];
        const unsigned char b = mPattern[ms + k];
        if (reversed ? a > b : a < b) {
            j += k;
            k = 1;
            p = j - ms;
        } else if (a == b) {
            if (k != p) {
                ++k;
            } else {
                j += p;
                k = 1;
            }
        } else {
            ms = j;
            j = ms + 1;
            k = p = 1;
        }
    }
    return {ms, p};
}

std::size_t TTwoWay::Find(std::ptrdiff_t from)
{
    const TSuffix forward = MaximalSuffix(false);
    const TSuffix backward = MaximalSuffix(true);
    const TSuffix critical = forward.start > backward.start ? forward : backward;
    const std::ptrdiff_t ell = critical.start;
    // The pattern's left part recurs one period later: the pattern is periodic, and a
    // shift by the period keeps what the last attempt matched.
    if (std::memcmp(mPattern, mPattern + critical.period, static_cast<std::size_t>(ell + 1)) == 0) {
        return FindPeriodic(from, ell, critical.period);
    }
    return FindAperiodic(from, ell);
}

std::size_t TTwoWay::FindPeriodic(std::ptrdiff_t j, std::ptrdiff_t ell, std::ptrdiff_t period)
{
    std::ptrdiff_t memory = -1;  // the pattern's bytes up to here are known to match
    while (j <= mN - mM) {
        std::ptrdiff_t i = std::max(ell, memory) + 1;
        while (i < mM && Same(i, j)) ++i;
        if (i < mM) {
            j += i - ell;
            memory = -1;
            continue;
        }
        i = ell;
        while (i > memory && Same(i, j)) --i;
        if (i <= memory) return static_cast<std::size_t>(j);
        j += period;
        memory = mM - period - 1;
    }
    return std::string_view::npos;
}

std::size_t TTwoWay::FindAperiodic(std::ptrdiff_t j, std::ptrdiff_t ell)
{
    const std::ptrdiff_t shift = std::max(ell + 1, mM - ell - 1) + 1;
    while (j <= mN - mM) {
        std::ptrdiff_t i = ell + 1;
        while (i < mM && Same(i, j)) ++i;
        if (i < mM) {
            j += i - ell;
            continue;
        }
        i = ell;
        while (i >= 0 && Same(i, j)) --i;
        if (i < 0) return static_cast<std::size_t>(j);
        j += shift;
    }
    return std::string_view::npos;
}

// A pattern of one or two bytes: memchr finds each candidate for the first byte, and
// the work stays within twice the text's length without a look at the pattern. The
// stop check is asked as often as for the two-way search.
std::size_t find_short(std::string_view text, std::string_view pattern, std::size_t from, const TStopCheck& stopped)
{
    const char* p = text.data() + from;
    const char* const last = text.data() + (text.size() - pattern.size());  // the last start
    std::size_t work = 0;
    while (p <= last) {
        const auto span = std::min(static_cast<std::size_t>(last - p) + 1, POLL_INTERVAL - work);
        const void* hit = std::memchr(p, pattern[0], span);
        if (hit == nullptr) {
            p += span;
            work += span;
        } else {
            const char* at = static_cast<const char*>(hit);
            if (pattern.size() == 1 || at[1] == pattern[1]) return static_cast<std::size_t>(at - text.data());
            work += static_cast<std::size_t>(at - p) + 1;
            p = at + 1;
        }
        if (work == POLL_INTERVAL) {
            work = 0;
            if (stopped && stopped()) return std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t find_text(std::string_view text, std::string_view pattern, std::size_t from, const TStopCheck& stopped)
{
    if (from > text.size() || pattern.size() > text.size() - from) return std::string_view::npos;
    if (pattern.empty()) return from;
    if (pattern.size() <= 2) return find_short(text, pattern, from, stopped);
    try {
        return TTwoWay(text, pattern, stopped).Find(static_cast<std::ptrdiff_t>(from));
    } catch (const TStopped&) {
        return std::string_view::npos;
    }
}

}  // namespace text_search
