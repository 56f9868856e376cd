#include "session/AutoSaveBackup.h"

#include "foundation/Common.h"
#include "foundation/TAVRENUtils.h"
#include "platform/SettingsFolder.h"

namespace {

constexpr const char* kAutoSaveFile = "AutoSave.bas";

}  // namespace

std::string auto_backup_path()
{
    std::string path;
    if (get_settings_entry(kSettingsFolder, kAutoSaveFile, &path) != 0) return std::string();
    return path;
}

bool save_auto_backup(const std::string& text)
{
    const std::string path = auto_backup_path();
    return !path.empty() && platform::write_file_atomically(path, text) == platform::kOk;
}
