#pragma once
// One of the 15 file slots of the emulated machine: a TBasicFile that remembers the
// index of the drive (0 to 13) it was opened on, for the drive lamp, and whether it
// lets other slots open the same file. The slot is open while its file is open; what
// it remembers means something only then.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "foundation/FileBase.h"

class TKivoFile : public TBasicFile {
public:
    TKivoFile() = default;
    ~TKivoFile() override = default;

    void SetDrvIdx(long drvIdx) { mDrvIdx = drvIdx; }
    long DrvIdx() const { return mDrvIdx; }
    // A file written from its start or at its end (FOR OUTPUT, FOR APPEND) is
    // exclusive: while it is open no other slot opens it, and it is not opened so
    // while another slot has it open. Files read (FOR INPUT) or read and written in
    // place (without FOR) share.
    void SetExclusive(bool exclusive) { mExclusive = exclusive; }
    bool Exclusive() const { return mExclusive; }

    // Writes every byte of the run, going on after a short write. False when the
    // file refused the rest (disk full, I/O error, not open for writing). A long run
    // goes out a megabyte at a time, and `stopped` (when given) is asked between:
    // once it answers true the rest is left unwritten and the write counts as done.
    bool WriteAll(const void* data, size_t size, const std::function<bool()>& stopped = {});
    // Reads one byte; false at the end of the file or when reading fails.
    bool ReadByte(char* byte);
    // Moves the position back by one byte (to give a looked-ahead byte back).
    void UnreadByte();

private:
    long mDrvIdx = 0;
    bool mExclusive = false;
};
