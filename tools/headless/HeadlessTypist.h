#pragma once
// The keys of --keys typed into a running machine's key buffer, one character a key
// (a UTF-8 character of up to three bytes is one key), as fast as the buffer takes
// them: a key is pushed only while the buffer has room, so none is lost.

#include <cstddef>
#include <functional>
#include <string>

class TBasicRsrc;

class THeadlessTypist {
public:
    explicit THeadlessTypist(std::string keys) : mKeys(std::move(keys)) {}
    // Pushes the next keys while the key buffer has room.
    void TypeInto(TBasicRsrc& rsrc);
    bool Done() const { return mNext >= mKeys.size(); }
    // Types every key, waiting for room as needed, until all are typed or `ended`
    // says the run is over.
    void Run(TBasicRsrc& rsrc, const std::function<bool()>& ended);

private:
    std::string mKeys;
    std::size_t mNext = 0;
};
