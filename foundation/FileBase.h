#pragma once
// A file read and written by lines. The machine's open BASIC files derive from it.
//
// Lines end in LF; reading also accepts CR LF (a CR just before the LF is dropped,
// a CR anywhere else stays). Writing ends every line with one LF. Reads take one byte
// per read call and keep no buffer, so the file position after a read is exactly
// behind the last byte consumed and other reads of the same file go on from there.

#include <cstdint>
#include <string>
#include <sys/types.h>

#include "platform/Status.h"

class TBasicFile {
public:
    // A file object that is not open.
    TBasicFile();
    // Opens `path` with the open(2) flags `openMode` (new files get mode 0666 less
    // the umask). Whether it opened is asked with InitCheck.
    TBasicFile(const char* path, int openMode);
    // Opens `path` relative to the open folder `dirFd`, as openat(2) does.
    TBasicFile(int dirFd, const char* path, int openMode);

    TBasicFile(const TBasicFile&) = delete;
    TBasicFile& operator=(const TBasicFile&) = delete;

    // Closes the file if it is open.
    virtual ~TBasicFile();

    // Opening and closing; each SetTo closes what was open before.
    platform::status_t SetTo(const char* path, int openMode);
    platform::status_t SetTo(int dirFd, const char* path, int openMode);
    // Takes over a descriptor opened elsewhere (for example one resolved beneath a
    // drive folder); a negative descriptor leaves the object not open.
    platform::status_t Adopt(int fd);
    void Unset();

    // kOk when open; otherwise the negated errno of the failed open, or -EBADF
    // when nothing was opened.
    platform::status_t InitCheck() const;
    bool IsOpen() const { return mFd >= 0; }
    int Descriptor() const { return mFd; }

    // Plain access; each returns what the system call returned, or -1 on error.
    ssize_t Read(void* buffer, size_t size);
    ssize_t Write(const void* buffer, size_t size);
    off_t Position() const;
    off_t Seek(off_t offset, int whence);
    platform::status_t GetSize(off_t* size) const;

    // True when the position is at or past the file's size. A file that is not open,
    // or whose size or position cannot be had, is at its end.
    virtual bool Eof() const;

    // Reads one line into `buffer`, at most size - 1 bytes, and ends it with a NUL.
    // Returns the number of bytes stored. The rest of a longer line stays in the file
    // for the next call. A size of 0 or less stores nothing and returns 0.
    virtual int32_t ReadLine(char* buffer, int32_t size);
    // Reads one line into `line`; returns its length. The end of the file and an
    // empty line both give 0: ask Eof before reading. A failed read ends the line.
    virtual int32_t ReadLine(std::string* line);

    // Writes the text (up to its NUL, or every byte of the string), then one LF.
    // Returns the sum of the two writes' results: the bytes written, LF included,
    // when both succeed.
    virtual int32_t WriteLine(const char* text);
    virtual int32_t WriteLine(const std::string& text);

private:
    int mFd;
    platform::status_t mStatus;
};
