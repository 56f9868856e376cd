#pragma once
// The executable's file name and folder, found from the path it was started by.

#include <string>

class TAppPrivacy {
public:
    TAppPrivacy() = default;
    virtual ~TAppPrivacy() = default;

    // Resolves `path` (links followed) and keeps the name and the folder of the file it
    // leads to. When the path cannot be resolved both stay empty.
    void AnalyzeExePath(const char* path);

    // The executable's folder, ending in "/".
    std::string ExePath() const { return mExeFolder; }
    std::string ExeName() const { return mExeName; }

private:
    std::string mExeName;
    std::string mExeFolder;
};
