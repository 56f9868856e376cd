#pragma once
// A temporary folder tree for the file tests: <root>/drive is the drive folder and
// <root>/outside.txt a file beside it that no BASIC file name may reach. Snapshot()
// records everything in the tree outside the drive folder, so a test can check that
// nothing there was created, changed or removed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TTempDriveTree {
public:
    TTempDriveTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kivo-files-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        Root = pattern;
        Drive = Root + "/drive";
        std::filesystem::create_directory(Drive);
        WriteFile(Root + "/outside.txt", "outside data\r\n");
    }
    ~TTempDriveTree()
    {
        std::error_code ec;
        std::filesystem::permissions(Root, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(Root, ec);
    }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string InDrive(const std::string& name) const { return Drive + "/" + name; }

    // Every entry of the tree outside the drive folder: its kind and its content or
    // link target.
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> out;
        namespace fs = std::filesystem;
        for (auto it = fs::recursive_directory_iterator(Root); it != fs::recursive_directory_iterator(); ++it) {
            const std::string path = it->path().string();
            if (path == Drive) {
                it.disable_recursion_pending();
                continue;
            }
            const fs::file_status st = fs::symlink_status(it->path());
            if (fs::is_symlink(st))
                out[path] = "link:" + fs::read_symlink(it->path()).string();
            else if (fs::is_directory(st))
                out[path] = "dir";
            else
                out[path] = "file:" + ReadFile(path);
        }
        return out;
    }

    std::string Root;
    std::string Drive;
};
