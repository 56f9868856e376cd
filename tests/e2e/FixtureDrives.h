#pragma once
// Drive folders for an end-to-end run of a program that uses files, and the one-line
// form in which .in and .files name a file: `N:NAME "content"`, the name and the
// content with the escapes \r \n \t \\ \" and \xHH.
//
// Each TFixtureDrives is a fresh folder: drive1/ and drive2/ start empty, drive3/ holds
// traps (a link to a file outside, an absolute link, a link to the folder above, a
// FIFO, a sub-folder), and outside.txt lies beside the drives.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/FixtureText.h"

namespace fixture_drives {

namespace fs = std::filesystem;

inline std::string escape_bytes(const std::string& bytes)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\x";
                out += HEX[c >> 4];
                out += HEX[c & 15];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

// The inverse of escape_bytes; false for a malformed escape.
inline bool unescape_bytes(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i >= text.size()) return false;
        switch (text[i]) {
        case 'r': bytes += '\r'; break;
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case '\\': bytes += '\\'; break;
        case '"': bytes += '"'; break;
        case 'x': {
            if (i + 2 >= text.size()) return false;
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

// One line of .in or .files: drive number, name and content.
struct TFileLine {
    int Drive = 0;
    std::string Name;
    std::string Content;
};

inline bool parse_file_line(const std::string& line, TFileLine& out)
{
    const size_t colon = line.find(':');
    const size_t space = line.find(" \"");
    if (colon == std::string::npos || space == std::string::npos || space < colon || line.back() != '"') return false;
    out.Drive = std::atoi(line.substr(0, colon).c_str());
    return unescape_bytes(line.substr(colon + 1, space - colon - 1), out.Name) &&
           unescape_bytes(line.substr(space + 2, line.size() - space - 3), out.Content);
}

class TFixtureDrives {
public:
    TFixtureDrives()
    {
        std::string pattern = (fs::temp_directory_path() / "kivo-e2e-files-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        Root = pattern;
        for (int d = 1; d <= 3; ++d) fs::create_directory(Drive(d));
        std::ofstream(Root / "outside.txt", std::ios::binary) << "outside data\r\n";
        const fs::path traps = Drive(3);
        fs::create_directory_symlink("..", traps / "UPDIR");
        fs::create_symlink("../outside.txt", traps / "OUTLINK");
        fs::create_symlink(Root / "outside.txt", traps / "ABSLINK");
        ::mkfifo((traps / "FIFO").c_str(), 0600);
        fs::create_directory(traps / "SUB");
        std::ofstream(traps / "SUB" / "IN.TXT", std::ios::binary) << "inside\r\n";
    }
    ~TFixtureDrives()
    {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    fs::path Drive(int d) const { return Root / ("drive" + std::to_string(d)); }

    // Kinds, contents and link targets of everything outside drives 1 and 2.
    std::map<std::string, std::string> Surroundings() const
    {
        std::map<std::string, std::string> out;
        for (auto it = fs::recursive_directory_iterator(Root); it != fs::recursive_directory_iterator(); ++it) {
            if (it->path() == Drive(1) || it->path() == Drive(2)) {
                it.disable_recursion_pending();
                continue;
            }
            const fs::file_status st = fs::symlink_status(it->path());
            std::string text;
            if (fs::is_symlink(st))
                out[it->path()] = "link " + fs::read_symlink(it->path()).string();
            else if (fs::is_directory(st))
                out[it->path()] = "dir";
            else if (fs::is_regular_file(st) && read_file(it->path(), text))
                out[it->path()] = "file " + text;
            else
                out[it->path()] = "other";
        }
        return out;
    }

    // The .files form of every regular file in drives 1 and 2, sorted.
    std::string Written() const
    {
        std::vector<std::string> lines;
        for (int d = 1; d <= 2; ++d) {
            for (const auto& entry : fs::recursive_directory_iterator(Drive(d))) {
                std::string text;
                if (!entry.is_regular_file() || !read_file(entry.path(), text)) continue;
                lines.push_back(std::to_string(d) + ":" + escape_bytes(fs::relative(entry.path(), Drive(d)).string()) +
                                " \"" + escape_bytes(text) + "\"");
            }
        }
        std::sort(lines.begin(), lines.end());
        std::string out;
        for (const std::string& line : lines) out += line + "\n";
        return out;
    }

    fs::path Root;
};

}  // namespace fixture_drives
