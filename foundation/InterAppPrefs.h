#pragma once
// The registry of preferences shared between the author's applications ("AccKeyFormat2",
// "FlatToolBar"), as far as the core needs it: items by name, their values, the
// application signature and the observers. The items themselves, their value files
// and the shared-preferences window belong to the GUI.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/Messenger.h"

// One shared preference. The base versions of the value operations change nothing
// and return -1; an item overrides those its value type supports. The flag of the
// getters asks for the default value (true) or the current one (false).
class TIAPItem {
public:
    explicit TIAPItem(const std::string& name) : mName(name) {}
    virtual ~TIAPItem() = default;

    TIAPItem(const TIAPItem&) = delete;
    TIAPItem& operator=(const TIAPItem&) = delete;

    virtual int32_t GetValue(platform::Message* into, bool defaultValue) const;
    virtual int32_t SetValue(const platform::Message& message);
    virtual int32_t GetBool(bool* value, bool defaultValue) const;
    virtual int32_t SetBool(bool value);
    virtual int32_t GetString(std::string* value, bool defaultValue) const;
    virtual int32_t SetString(const std::string& value);

    std::string Name() const { return mName; }
    // The registering application's signature, borrowed; null until registered.
    const char* AppSignatureRef() const { return mAppSignature; }
    int32_t SetAppSignatureRef(const char* signature) {
        mAppSignature = signature;
        return 0;
    }

private:
    const char* mAppSignature = nullptr;
    const std::string mName;
};

class TInterAppPrefs {
public:
    // Empty: no items, no observers, no signature. Opens nothing and reads nothing.
    TInterAppPrefs() = default;
    // Deletes every registered item.
    ~TInterAppPrefs();

    TInterAppPrefs(const TInterAppPrefs&) = delete;
    TInterAppPrefs& operator=(const TInterAppPrefs&) = delete;

    // Takes ownership of the item and gives it the registry's signature; always 0.
    int32_t AddItem(TIAPItem* item);
    int32_t AddObserver(const platform::Messenger& observer);
    // -1 when no item has that name (the output untouched); else the item's result.
    int32_t GetBool(const char* name, bool* value) const;
    int32_t GetString(const char* name, std::string* value) const;
    int32_t SetBool(const char* name, bool value);
    int32_t SetString(const char* name, const std::string& value);
    // Applies a shared-preference notice '_ipc' to the item it names ("IAP:SrcIAPItem")
    // and, when the item took it, tells the observers.
    int32_t SetValue(const platform::Message& notice);
    void NotifyToObservers(platform::Message notice);
    // Stores the signature (borrowed) and gives it to every item; always 0.
    int32_t SetAppSignatureRef(const char* signature);

    const char* AppSignatureRef() const { return mAppSignature; }
    bool WindowOpened() const { return mOpenedWindow; }

private:
    TIAPItem* Find(const char* name) const;

    bool mOpenedWindow = false;
    const char* mAppSignature = nullptr;
    std::vector<platform::Messenger> mObservers;
    std::map<std::string, TIAPItem*> mItems;
};
