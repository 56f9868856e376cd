#include "session/RecentLists.h"

#include "foundation/TAVRENUtils.h"
#include "platform/Message.h"
#include "session/OpenRequest.h"

TRecentLists::TRecentLists(std::string settingsFile) : mSettingsFile(std::move(settingsFile))
{
    mList.SetShowSC(true);
    mList.SetTgtBase(0);
    mList.SetTriggerBase(0);
    mList.SetMaxMRUF(10);
    platform::Message request(platform::fourcc("_RRC"));
    request.AddBool(kFromRecentListsField, true);
    mList.SetMessage(request);
    if (!mSettingsFile.empty() && mList.Load(mSettingsFile) != 0) mList.ClearMRUF();
}

void TRecentLists::Add(const std::string& path)
{
    mList.AddMRUF(path);
    Save();
}

void TRecentLists::Remove(const std::string& path)
{
    mList.RemoveMRUF(path);
    Save();
}

void TRecentLists::ClearAll()
{
    mList.ClearMRUF();
    Save();
}

void TRecentLists::Save() const
{
    // A file that cannot be written is not reported; the menu keeps the entries.
    if (!mSettingsFile.empty()) mList.Save(mSettingsFile);
}

std::string recent_lists_file()
{
    std::string entry;
    if (get_settings_entry("KivoBASIC", "KivoBASIC_MRUF.arc", &entry) != 0) return {};
    return entry;
}
