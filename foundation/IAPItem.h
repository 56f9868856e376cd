#pragma once
// One preference shared by the author's applications, with its value file
// "Shared/<name>.arc" in the settings folder. Every application that uses the
// preference holds its own item of that name in its registry (InterAppPrefs.h).
//
// The base versions of the value operations change nothing and return -1; an item
// overrides those its value type supports. The flag of the getters asks for the
// default value (true) or the current one (false).

#include <cstdint>
#include <string>

#include "platform/Message.h"

class TIAPItem {
public:
    explicit TIAPItem(const std::string& name) : mName(name) {}
    virtual ~TIAPItem() = default;

    TIAPItem(const TIAPItem&) = delete;
    TIAPItem& operator=(const TIAPItem&) = delete;

    // A description of the control that edits the item (IAPConfigView.h), added to `view`.
    virtual int32_t MakeConfigurationView(platform::Message* view, bool defaultValue) const;
    // Adds the identification fields and the value under the item's name; code '_ipc'.
    virtual int32_t GetValue(platform::Message* into, bool defaultValue) const;
    // Takes a new current value from a value message or a control-change message.
    virtual int32_t SetValue(const platform::Message& message);
    virtual int32_t GetBool(bool* value, bool defaultValue) const;
    virtual int32_t SetBool(bool value);
    virtual int32_t GetString(std::string* value, bool defaultValue) const;
    virtual int32_t SetString(const std::string& value);

    std::string Name() const { return mName; }
    // The registering application's signature, borrowed; null until registered.
    const char* AppSignatureRef() const { return mAppSignature; }
    int32_t SetAppSignatureRef(const char* signature)
    {
        mAppSignature = signature;
        return 0;
    }

    // Appends "IAP:SrcApp" (the signature) and "IAP:SrcIAPItem" (the name).
    void AddDefaultInfo(platform::Message* message) const;

    // The value file: Load reads it into `message` (replacing it only when the file
    // holds a whole message); Save appends "IAP:SrcApp" and replaces the file whole,
    // so that a failed or concurrent save never leaves a mixed or empty file.
    // Both return the platform's status.
    platform::status_t Load(platform::Message* message) const;
    platform::status_t Save(platform::Message message) const;

    // The value from the file, or else the default getter's value and result.
    int32_t LoadBool(bool* value) const;
    int32_t LoadString(std::string* value) const;
    // Write a value file holding `value` under the item's name.
    platform::status_t SaveBool(bool value) const;
    platform::status_t SaveString(const std::string& value) const;

    // The largest value file that is read.
    static constexpr size_t kMaxFileSize = 64 * 1024;

private:
    // The value file's path; false when the settings folder cannot be found.
    bool FilePath(std::string* path) const;

    const char* mAppSignature = nullptr;
    const std::string mName;
};
