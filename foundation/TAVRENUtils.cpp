#include "foundation/TAVRENUtils.h"

#include <string_view>

#include "platform/SettingsFolder.h"

namespace {

// A name that stays one step below its folder.
bool is_plain_name(const char* name)
{
    if (!name) return false;
    std::string_view text(name);
    return !text.empty() && text != "." && text != ".." && text.find('/') == std::string_view::npos;
}

}  // namespace

int32_t get_settings_entry(const char* folder, const char* file, std::string* entry)
{
    if (!entry || !is_plain_name(folder) || !is_plain_name(file)) return -1;
    std::string path;
    if (platform::user_settings_directory(&path) != platform::kOk) return -1;
    path += "/TAVREN/";
    path += folder;
    platform::create_directory(path, 0777);  // a failure shows when the file is used
    *entry = path + "/" + file;
    return 0;
}
