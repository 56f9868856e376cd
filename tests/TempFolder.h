#pragma once
// A folder of the test's own under the system's temporary folder, made with a unique
// name when the object is made and removed with everything in it when it goes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class TTempFolder {
public:
    // The folder's name is `prefix` followed by a dash and six random characters.
    explicit TTempFolder(const std::string& prefix)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
        mPath = pattern;
    }
    ~TTempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(mPath, error);
        if (error) ADD_FAILURE() << "cannot remove " << mPath << ": " << error.message();
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }

private:
    std::filesystem::path mPath;
};
