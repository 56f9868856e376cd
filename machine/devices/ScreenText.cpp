#include "machine/devices/ScreenText.h"

#include <vector>

#include "machine/devices/BasicRsrc.h"

std::string shown_screen_text(const TBasicRsrc& rsrc)
{
    const std::string all = rsrc.ScreenText();
    std::vector<std::string> rows;
    size_t from = 0;
    for (size_t at; (at = all.find('\n', from)) != std::string::npos; from = at + 1) {
        std::string row = all.substr(from, at - from);
        row.erase(row.find_last_not_of(' ') + 1);
        rows.push_back(std::move(row));
    }
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}
