#include "foundation/InterAppPrefs.h"

int32_t TIAPItem::GetValue(platform::Message*, bool) const { return -1; }
int32_t TIAPItem::SetValue(const platform::Message&) { return -1; }
int32_t TIAPItem::GetBool(bool*, bool) const { return -1; }
int32_t TIAPItem::SetBool(bool) { return -1; }
int32_t TIAPItem::GetString(std::string*, bool) const { return -1; }
int32_t TIAPItem::SetString(const std::string&) { return -1; }

TInterAppPrefs::~TInterAppPrefs() {
    for (auto& [name, item] : mItems) delete item;
    mItems.clear();
    mObservers.clear();
}

TIAPItem* TInterAppPrefs::Find(const char* name) const {
    if (!name) return nullptr;
    auto it = mItems.find(name);
    return it == mItems.end() ? nullptr : it->second;
}

int32_t TInterAppPrefs::AddItem(TIAPItem* item) {
    if (!item) return 0;
    item->SetAppSignatureRef(mAppSignature);
    TIAPItem*& slot = mItems[item->Name()];
    if (slot != item) delete slot;  // a second item of a name replaces the first
    slot = item;
    return 0;
}

int32_t TInterAppPrefs::AddObserver(const platform::Messenger& observer) {
    mObservers.push_back(observer);
    return 0;
}

int32_t TInterAppPrefs::GetBool(const char* name, bool* value) const {
    TIAPItem* item = Find(name);
    return item ? item->GetBool(value, false) : -1;
}

int32_t TInterAppPrefs::GetString(const char* name, std::string* value) const {
    TIAPItem* item = Find(name);
    return item ? item->GetString(value, false) : -1;
}

int32_t TInterAppPrefs::SetBool(const char* name, bool value) {
    TIAPItem* item = Find(name);
    return item ? item->SetBool(value) : -1;
}

int32_t TInterAppPrefs::SetString(const char* name, const std::string& value) {
    TIAPItem* item = Find(name);
    return item ? item->SetString(value) : -1;
}

int32_t TInterAppPrefs::SetValue(const platform::Message& notice) {
    std::string name;
    if (notice.FindString("IAP:SrcIAPItem", &name) != platform::kOk) return -1;
    TIAPItem* item = Find(name.c_str());
    if (!item) return -1;
    int32_t status = item->SetValue(notice);
    if (status == 0) NotifyToObservers(notice);
    return status;
}

void TInterAppPrefs::NotifyToObservers(platform::Message notice) {
    for (const platform::Messenger& observer : mObservers) observer.SendMessage(notice);
}

int32_t TInterAppPrefs::SetAppSignatureRef(const char* signature) {
    mAppSignature = signature;
    for (auto& [name, item] : mItems) item->SetAppSignatureRef(signature);
    return 0;
}
