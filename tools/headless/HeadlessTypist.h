#pragma once
// The keys of --keys typed into a running machine's key buffer, one character a key
// (a UTF-8 character of up to three bytes is one key), as fast as the buffer takes
// them: a key is pushed only while the buffer has room, so none is lost. A zero byte
// followed by a number 1 to 10 presses that function key as the run window does: its
// string goes in one byte an entry (once the buffer is empty, so that all of it fits)
// and its interrupt is raised.

#include <cstddef>
#include <functional>
#include <string>

class TBasicRsrc;

class THeadlessTypist {
public:
    // raise: how a function key raises its interrupt bit (may be empty).
    explicit THeadlessTypist(std::string keys, std::function<void(long)> raise = {})
        : mKeys(std::move(keys)), mRaise(std::move(raise)) {}
    // Pushes the next keys while the key buffer has room.
    void TypeInto(TBasicRsrc& rsrc);
    bool Done() const { return mNext >= mKeys.size(); }
    // Types every key, waiting for room as needed, until all are typed or `ended`
    // says the run is over.
    void Run(TBasicRsrc& rsrc, const std::function<bool()>& ended);

private:
    std::string mKeys;
    std::function<void(long)> mRaise;
    std::size_t mNext = 0;
};
