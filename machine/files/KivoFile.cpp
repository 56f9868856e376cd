// The machine's open files.

#include "machine/files/KivoFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

bool TKivoFile::WriteAll(const void* data, size_t size, const std::function<bool()>& stopped)
{
    if (size == 0) return IsOpen();
    constexpr size_t CHUNK = size_t{1} << 20;
    const char* bytes = static_cast<const char*>(data);
    for (size_t done = 0; done < size;) {
        if (done != 0 && stopped && stopped()) return true;
        const size_t part = std::min(CHUNK, size - done);
        // TBasicFile::Write already goes on after a short write; less than all is a failure.
        if (Write(bytes + done, part) != static_cast<ssize_t>(part)) return false;
        done += part;
    }
    return true;
}

bool TKivoFile::ReadByte(char* byte)
{
    for (;;) {
        const ssize_t n = Read(byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

void TKivoFile::UnreadByte()
{
    Seek(-1, SEEK_CUR);
}
