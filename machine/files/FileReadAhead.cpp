#include "machine/files/FileReadAhead.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "foundation/FileBase.h"

TFileReadAhead::TFileReadAhead(TBasicFile& file, TStopCheck stopped, std::size_t firstRead)
    : mFile(file), mStopped(std::move(stopped)), mReadSize(std::clamp<std::size_t>(firstRead, 1, BUFFER_BYTES))
{}

TFileReadAhead::~TFileReadAhead()
{
    if (mEnd > mNext) mFile.Seek(-static_cast<off_t>(mEnd - mNext), SEEK_CUR);
}

bool TFileReadAhead::Fill()
{
    if (mFilled) {
        if (mStopped && mStopped()) {
            mStoppedReading = true;
            return false;
        }
        mReadSize = std::min(2 * mReadSize, BUFFER_BYTES);
    }
    mFilled = true;
    const ssize_t got = mFile.Read(mBuffer, mReadSize);
    mNext = 0;
    mEnd = got > 0 ? static_cast<std::size_t>(got) : 0;
    return mEnd != 0;
}
