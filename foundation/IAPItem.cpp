#include "foundation/IAPItem.h"

#include "foundation/TAVRENUtils.h"
#include "platform/SettingsFolder.h"

int32_t TIAPItem::MakeConfigurationView(platform::Message*, bool) const
{
    return -1;
}
int32_t TIAPItem::GetValue(platform::Message*, bool) const
{
    return -1;
}
int32_t TIAPItem::SetValue(const platform::Message&)
{
    return -1;
}
int32_t TIAPItem::GetBool(bool*, bool) const
{
    return -1;
}
int32_t TIAPItem::SetBool(bool)
{
    return -1;
}
int32_t TIAPItem::GetString(std::string*, bool) const
{
    return -1;
}
int32_t TIAPItem::SetString(const std::string&)
{
    return -1;
}

void TIAPItem::AddDefaultInfo(platform::Message* message) const
{
    message->AddString("IAP:SrcApp", mAppSignature ? mAppSignature : "");
    message->AddString("IAP:SrcIAPItem", mName);
}

bool TIAPItem::FilePath(std::string* path) const
{
    return get_settings_entry("Shared", (mName + ".arc").c_str(), path) == 0;
}

platform::status_t TIAPItem::Load(platform::Message* message) const
{
    std::string path;
    if (!FilePath(&path)) return platform::kError;
    std::string bytes;
    platform::status_t status = platform::read_file(path, kMaxFileSize, &bytes);
    if (status != platform::kOk) return status;
    return message->Unflatten(bytes);
}

platform::status_t TIAPItem::Save(platform::Message message) const
{
    message.AddString("IAP:SrcApp", mAppSignature ? mAppSignature : "");
    std::string path;
    if (!FilePath(&path)) return platform::kError;
    std::string bytes;
    platform::status_t status = message.Flatten(&bytes);
    if (status != platform::kOk) return status;
    return platform::write_file_atomically(path, bytes);
}

int32_t TIAPItem::LoadBool(bool* value) const
{
    platform::Message message;
    Load(&message);
    if (message.FindBool(mName, value) == platform::kOk) return 0;
    return GetBool(value, true);
}

int32_t TIAPItem::LoadString(std::string* value) const
{
    platform::Message message;
    Load(&message);
    if (message.FindString(mName, value) == platform::kOk) return 0;
    return GetString(value, true);
}

platform::status_t TIAPItem::SaveBool(bool value) const
{
    platform::Message message;
    message.AddBool(mName, value);
    return Save(message);
}

platform::status_t TIAPItem::SaveString(const std::string& value) const
{
    platform::Message message;
    message.AddString(mName, value);
    return Save(message);
}
