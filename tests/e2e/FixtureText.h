#pragma once
// Reading the files that stand beside an end-to-end program.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The whole file, byte for byte; false when it cannot be read.
inline bool read_file(const std::filesystem::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

// The lines of a text that are not empty.
inline std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}
