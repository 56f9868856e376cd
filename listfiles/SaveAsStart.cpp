#include "listfiles/SaveAsStart.h"

#include <filesystem>

#include "foundation/StringUtils.h"

namespace fs = std::filesystem;

std::string panel_folder_or_home(const std::string& folder, const std::string& home)
{
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return home;
    return folder;
}

TSaveAsStart save_as_start(const std::string& listPath, int32_t conversion, const std::string& lastFolder,
                           const std::string& home)
{
    TSaveAsStart start;
    if (listPath.empty()) {
        start.Folder = panel_folder_or_home(lastFolder, home);
        return start;
    }
    const fs::path path(listPath);
    start.Folder = panel_folder_or_home(path.parent_path().string(), home);
    start.Name = path.filename().string();
    if (conversion != 0) start.Name = reext(start.Name, "bas");
    return start;
}
