#include "machine/files/FileReadAhead.h"

#include <sys/types.h>
#include <unistd.h>

#include <utility>

#include "foundation/FileBase.h"

TFileReadAhead::TFileReadAhead(TBasicFile& file, TStopCheck stopped) : mFile(file), mStopped(std::move(stopped)) {}

TFileReadAhead::~TFileReadAhead()
{
    if (mEnd > mNext) mFile.Seek(-static_cast<off_t>(mEnd - mNext), SEEK_CUR);
}

bool TFileReadAhead::Fill()
{
    if (mFilled && mStopped && mStopped()) return false;
    mFilled = true;
    const ssize_t got = mFile.Read(mBuffer, BUFFER_BYTES);
    mNext = 0;
    mEnd = got > 0 ? static_cast<std::size_t>(got) : 0;
    return mEnd != 0;
}
