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

// The list a fixture runs: NAME.bas, or else the .bas of the fixture that NAME.list
// names, so that one list can run again with other arguments (in the other mode).
inline std::filesystem::path fixture_list(const std::filesystem::path& base)
{
    std::string named;
    if (!read_file(base.string() + ".list", named)) return base.string() + ".bas";
    const std::size_t end = named.find_first_of("\r\n");
    return base.parent_path() / (named.substr(0, end) + ".bas");
}

// Whether a file of a fixture folder starts a fixture: a list, or the name of another's.
inline bool is_fixture_start(const std::filesystem::path& file)
{
    return file.extension() == ".bas" || file.extension() == ".list";
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
