#include "foundation/FileBase.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFileMode = 0666;
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// One byte from the file: 1 when read, 0 at the end of the file, -1 on a failed read.
int read_one_byte(int fd, char* byte)
{
    for (;;) {
        const ssize_t got = ::read(fd, byte, 1);
        if (got >= 0) return static_cast<int>(got);
        if (errno != EINTR) return -1;
    }
}

}  // namespace

TBasicFile::TBasicFile() : mFd(-1), mStatus(-EBADF) {}

TBasicFile::TBasicFile(const char* path, int openMode) : TBasicFile()
{
    SetTo(path, openMode);
}

TBasicFile::TBasicFile(int dirFd, const char* path, int openMode) : TBasicFile()
{
    SetTo(dirFd, path, openMode);
}

TBasicFile::~TBasicFile()
{
    Unset();
}

platform::status_t TBasicFile::SetTo(const char* path, int openMode)
{
    return SetTo(AT_FDCWD, path, openMode);
}

platform::status_t TBasicFile::SetTo(int dirFd, const char* path, int openMode)
{
    Unset();
    if (path == nullptr) {
        mStatus = -EINVAL;
        return mStatus;
    }
    int fd;
    do {
        fd = ::openat(dirFd, path, openMode | O_CLOEXEC, kNewFileMode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        mStatus = -errno;
        return mStatus;
    }
    mFd = fd;
    mStatus = platform::kOk;
    return mStatus;
}

platform::status_t TBasicFile::Adopt(int fd)
{
    Unset();
    if (fd < 0) return mStatus;
    mFd = fd;
    mStatus = platform::kOk;
    return mStatus;
}

void TBasicFile::Unset()
{
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    mStatus = -EBADF;
}

platform::status_t TBasicFile::InitCheck() const
{
    return mStatus;
}

ssize_t TBasicFile::Read(void* buffer, size_t size)
{
    if (mFd < 0) return -1;
    ssize_t got;
    do {
        got = ::read(mFd, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
}

ssize_t TBasicFile::Write(const void* buffer, size_t size)
{
    if (mFd < 0) return -1;
    // A short write goes on with the rest; the result is what was written in all,
    // or -1 when nothing could be.
    const auto* bytes = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(mFd, bytes + done, size - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        }
        if (put == 0) break;
        done += static_cast<size_t>(put);
    }
    return static_cast<ssize_t>(done);
}

off_t TBasicFile::Position() const
{
    if (mFd < 0) return -1;
    return ::lseek(mFd, 0, SEEK_CUR);
}

off_t TBasicFile::Seek(off_t offset, int whence)
{
    if (mFd < 0) return -1;
    return ::lseek(mFd, offset, whence);
}

platform::status_t TBasicFile::GetSize(off_t* size) const
{
    if (mFd < 0) return -EBADF;
    struct stat info;
    if (::fstat(mFd, &info) != 0) return -errno;
    *size = info.st_size;
    return platform::kOk;
}

bool TBasicFile::Eof() const
{
    off_t size = 0;
    if (GetSize(&size) != platform::kOk) return true;
    const off_t position = Position();
    if (position < 0) return true;
    return static_cast<int64_t>(size) <= static_cast<int64_t>(position);
}

int32_t TBasicFile::ReadLine(char* buffer, int32_t size)
{
    if (buffer == nullptr || size <= 0) return 0;

    int32_t stored = 0;
    while (stored < size - 1) {
        if (Eof()) break;
        char byte;
        if (read_one_byte(mFd, &byte) != 1) break;  // a failed read ends the line rather than spinning on it
        if (byte == kLineFeed) break;
        buffer[stored++] = byte;
    }
    if (stored > 0 && buffer[stored - 1] == kCarriageReturn) --stored;
    buffer[stored] = '\0';
    return stored;
}

int32_t TBasicFile::ReadLine(std::string* line)
{
    if (line == nullptr) return 0;
    line->clear();
    while (!Eof()) {
        char byte;
        if (read_one_byte(mFd, &byte) != 1) break;
        if (byte == kLineFeed) break;
        line->push_back(byte);
    }
    if (!line->empty() && line->back() == kCarriageReturn) line->pop_back();
    return static_cast<int32_t>(line->size());
}

int32_t TBasicFile::WriteLine(const char* text)
{
    if (text == nullptr) text = "";
    const size_t length = std::strlen(text);
    ssize_t written = 0;
    if (length > 0) written = Write(text, length);
    written += Write(&kLineFeed, 1);
    return static_cast<int32_t>(written);
}

int32_t TBasicFile::WriteLine(const std::string& text)
{
    ssize_t written = 0;
    if (!text.empty()) written = Write(text.data(), text.size());
    written += Write(&kLineFeed, 1);
    return static_cast<int32_t>(written);
}
