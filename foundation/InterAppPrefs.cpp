#include "foundation/InterAppPrefs.h"

TInterAppPrefs::~TInterAppPrefs()
{
    for (auto& [name, item] : mItems) delete item;
    mItems.clear();
    mObservers.clear();
}

TIAPItem* TInterAppPrefs::Find(const char* name) const
{
    if (!name) return nullptr;
    auto it = mItems.find(name);
    return it == mItems.end() ? nullptr : it->second;
}

int32_t TInterAppPrefs::AddItem(TIAPItem* item)
{
    if (!item) return 0;
    std::lock_guard lock(mLock);
    item->SetAppSignatureRef(mAppSignature);
    TIAPItem*& slot = mItems[item->Name()];
    if (slot != item) delete slot;  // a second item of a name replaces the first
    slot = item;
    return 0;
}

int32_t TInterAppPrefs::AddObserver(const platform::Messenger& observer)
{
    std::lock_guard lock(mLock);
    mObservers.push_back(observer);
    return 0;
}

int32_t TInterAppPrefs::GetBool(const char* name, bool* value) const
{
    std::lock_guard lock(mLock);
    TIAPItem* item = Find(name);
    return item ? item->GetBool(value, false) : -1;
}

int32_t TInterAppPrefs::GetString(const char* name, std::string* value) const
{
    std::lock_guard lock(mLock);
    TIAPItem* item = Find(name);
    return item ? item->GetString(value, false) : -1;
}

int32_t TInterAppPrefs::SetBool(const char* name, bool value)
{
    std::lock_guard lock(mLock);
    TIAPItem* item = Find(name);
    return item ? item->SetBool(value) : -1;
}

int32_t TInterAppPrefs::SetString(const char* name, const std::string& value)
{
    std::lock_guard lock(mLock);
    TIAPItem* item = Find(name);
    return item ? item->SetString(value) : -1;
}

int32_t TInterAppPrefs::SetValue(const platform::Message& notice)
{
    std::string name;
    if (notice.FindString("IAP:SrcIAPItem", &name) != platform::kOk) return -1;
    int32_t status;
    {
        std::lock_guard lock(mLock);
        TIAPItem* item = Find(name.c_str());
        if (!item) return -1;
        status = item->SetValue(notice);
    }
    if (status == 0) NotifyToObservers(notice);
    return status;
}

void TInterAppPrefs::NotifyToObservers(platform::Message notice)
{
    std::vector<platform::Messenger> observers;
    {
        std::lock_guard lock(mLock);
        observers = mObservers;
    }
    for (const platform::Messenger& observer : observers) observer.SendMessage(notice);
}

int32_t TInterAppPrefs::SetAppSignatureRef(const char* signature)
{
    std::lock_guard lock(mLock);
    mAppSignature = signature;
    for (auto& [name, item] : mItems) item->SetAppSignatureRef(signature);
    return 0;
}

platform::Message TInterAppPrefs::MakeComponents() const
{
    platform::Message components(platform::fourcc("iacr"));
    std::lock_guard lock(mLock);
    for (const auto& [name, item] : mItems) {
        platform::Message current;
        // An item that cannot describe its control contributes nothing.
        if (item->MakeConfigurationView(&current, false) != 0) continue;
        item->GetValue(&current, false);
        platform::Message fallback;
        item->MakeConfigurationView(&fallback, true);
        item->GetValue(&fallback, true);
        components.AddMessage(name, current);
        components.AddMessage(name, current);
        components.AddMessage(name, fallback);
    }
    return components;
}
