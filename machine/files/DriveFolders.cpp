// The drive folders.

#include "machine/files/DriveFolders.h"

bool TDriveFolders::Set(long drvFolderIdx, const std::string& folderPath)
{
    if (drvFolderIdx < 0 || drvFolderIdx >= COUNT) return false;
    std::string copy = folderPath;
    std::lock_guard<std::mutex> lock(DrvFolderLock);
    mFolders[drvFolderIdx].swap(copy);
    return true;
}

std::string TDriveFolders::Get(long drvFolderIdx) const
{
    if (drvFolderIdx < 0 || drvFolderIdx >= COUNT) return std::string();
    std::lock_guard<std::mutex> lock(DrvFolderLock);
    return mFolders[drvFolderIdx];
}
