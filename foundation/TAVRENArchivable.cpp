#include "foundation/TAVRENArchivable.h"

#include <unistd.h>

#include "foundation/TAVRENUtils.h"
#include "platform/Modifiers.h"

bool settings_reset_keys_held()
{
    constexpr uint32_t kResetKeys =
        platform::kShiftKey | platform::kCommandKey | platform::kControlKey | platform::kOptionKey;
    return (platform::modifiers() & kResetKeys) == kResetKeys;
}

int32_t TTAVRENArchivable::SaveByName(const char* folder, const char* file) const
{
    std::string entry;
    if (get_settings_entry(folder, file, &entry) != 0) return -1;
    if (settings_reset_keys_held()) return -1;
    return Save(entry);
}

int32_t TTAVRENArchivable::LoadByName(const char* folder, const char* file)
{
    std::string entry;
    if (get_settings_entry(folder, file, &entry) != 0) return -1;
    if (settings_reset_keys_held()) {
        ::unlink(entry.c_str());
        return -1;
    }
    return Load(entry);
}
