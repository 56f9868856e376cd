#pragma once
// Reads an open file through a buffer of its own, for the readers that take a file's
// text a byte at a time (INPUT #, LINE INPUT # and INPUT$): one system call brings many
// bytes instead of one. When the reader goes, the file's position is put back behind the
// last byte taken, so that a later INPUT #, EOF or LOC of the same file, or a write,
// goes on from there as if the bytes had been read one by one.

#include <cstddef>
#include <functional>
#include <string_view>

class TBasicFile;

class TFileReadAhead {
public:
    static constexpr std::size_t BUFFER_BYTES = 64 * 1024;
    // Asked before each read of the file but the first; true ends the reading as the
    // end of the file would (the run is being stopped). The first read is always
    // made, so that a short item is read whole even then.
    using TStopCheck = std::function<bool()>;

    // `firstRead` bounds the first read (1 to BUFFER_BYTES), and each read after it
    // asks for twice as many bytes as the one before, up to BUFFER_BYTES: a reader
    // that knows it wants a few bytes does not read a whole buffer only to give most
    // of it back.
    TFileReadAhead(TBasicFile& file, TStopCheck stopped, std::size_t firstRead = BUFFER_BYTES);
    ~TFileReadAhead();
    TFileReadAhead(const TFileReadAhead&) = delete;
    TFileReadAhead& operator=(const TFileReadAhead&) = delete;

    // The next byte; false at the end of the file, when reading fails or when the
    // stop check answered true.
    bool Next(char* byte)
    {
        if (mNext == mEnd && !Fill()) return false;
        *byte = mBuffer[mNext++];
        return true;
    }
    // Gives back the byte that the last Next took.
    void Unread()
    {
        if (mNext > 0) --mNext;
    }
    // Takes the bytes read ahead from the next one on while `plain` accepts them (no
    // more than are read ahead: the caller goes on with Next).
    template <typename TPlain>
    std::string_view TakeWhile(TPlain plain)
    {
        const std::size_t from = mNext;
        while (mNext < mEnd && plain(mBuffer[mNext])) ++mNext;
        return {mBuffer + from, mNext - from};
    }
    // True when no byte is left to take.
    bool AtEnd() { return mNext == mEnd && !Fill(); }
    // True once the stop check has ended the reading: the bytes taken are then only
    // part of what the reader was after.
    bool Stopped() const { return mStoppedReading; }

private:
    bool Fill();

    TBasicFile& mFile;
    TStopCheck mStopped;
    std::size_t mNext = 0;
    std::size_t mEnd = 0;
    std::size_t mReadSize;
    bool mFilled = false;
    bool mStoppedReading = false;
    char mBuffer[BUFFER_BYTES];
};
