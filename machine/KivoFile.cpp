// The machine's open files.

#include "machine/KivoFile.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

bool TKivoFile::WriteAll(const void* data, size_t size)
{
    if (size == 0) return IsOpen();
    // TBasicFile::Write already goes on after a short write; less than all is a failure.
    return Write(data, size) == static_cast<ssize_t>(size);
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
