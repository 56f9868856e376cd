#pragma once
// The 14 drive folders of the emulated machine: index i is BASIC drive i + 1 and
// holds the absolute path of a host folder, or nothing when the drive is offline.
// The run window writes them from its thread and the machine reads them on its own;
// each path is copied in and out under DrvFolderLock, so a reader never sees half of
// one. No other lock is taken while it is held.

#include <mutex>
#include <string>

class TDriveFolders {
public:
    static constexpr int COUNT = 14;

    // Sets (or, with an empty path, empties) a drive's folder. False, and nothing
    // changed, for an index outside 0 to 13.
    bool Set(long drvFolderIdx, const std::string& folderPath);
    bool Eject(long drvFolderIdx) { return Set(drvFolderIdx, std::string()); }
    // A copy of a drive's folder path; empty for an offline drive or a bad index.
    std::string Get(long drvFolderIdx) const;

private:
    mutable std::mutex DrvFolderLock;
    std::string mFolders[COUNT];
};
