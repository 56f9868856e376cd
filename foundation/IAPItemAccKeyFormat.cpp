#include "foundation/IAPItemAccKeyFormat.h"

#include <array>

namespace {

constexpr const char* kName = "AccKeyFormat2";

// The formats the menu offers, in menu order; the empty one comes after a separator.
const std::array<std::string, 4> kOfferedFormats = {
    kDefaultAccKeyFormat,  // Open(O)
    "\x01"
    "a) ",  // O) Open
    "\x01"
    "a\xE3\x83\xBB",  // O・Open
    "\x01"
    "a - ",  // O - Open
};

}  // namespace

TIAPItemAccKeyFormat::TIAPItemAccKeyFormat() : TIAPItem(kName)
{
    LoadString(&mFormat);
}

int32_t TIAPItemAccKeyFormat::GetString(std::string* value, bool defaultValue) const
{
    *value = defaultValue ? kDefaultAccKeyFormat : mFormat;
    return 0;
}

int32_t TIAPItemAccKeyFormat::SetString(const std::string& value)
{
    mFormat = value;
    SaveString(mFormat);
    return 0;
}

int32_t TIAPItemAccKeyFormat::GetValue(platform::Message* into, bool defaultValue) const
{
    std::string format;
    GetString(&format, defaultValue);
    into->what = platform::fourcc("_ipc");
    AddDefaultInfo(into);
    into->AddString(kName, format);
    return 0;
}

int32_t TIAPItemAccKeyFormat::SetValue(const platform::Message& message)
{
    std::string format;
    if (message.FindString(kName, &format) != platform::kOk) return -1;
    mFormat = format;
    std::string source;
    if (AppSignatureRef() && message.FindString("IAP:SrcApp", &source) == platform::kOk && source == AppSignatureRef())
        SaveString(mFormat);
    return 0;
}

TIAPMenuEntry TIAPItemAccKeyFormat::MakeMenuEntry(const std::string& format, bool defaultValue) const
{
    TIAPMenuEntry entry;
    GetValue(&entry.message, false);
    entry.message.what = platform::fourcc("ictc");
    entry.message.RemoveName(kName);
    entry.message.AddString(kName, format);
    entry.label = format.empty() ? "(None)" : format.substr(1);
    std::string shown;
    GetString(&shown, defaultValue);
    entry.marked = shown == format;
    return entry;
}

int32_t TIAPItemAccKeyFormat::MakeConfigurationView(platform::Message* view, bool defaultValue) const
{
    TIAPConfigView description;
    TIAPControl& field = description.control;
    field.kind = TIAPControl::Kind::PopUpField;
    field.name = "AAccelerator Format: ";
    field.frame = {0, 0, 250, 16};
    field.title = "Select...";
    for (const std::string& format : kOfferedFormats) field.entries.push_back(MakeMenuEntry(format, defaultValue));
    TIAPMenuEntry separator;
    separator.separator = true;
    field.entries.push_back(separator);
    field.entries.push_back(MakeMenuEntry("", defaultValue));
    description.name = kName;
    description.frame = {0, 0, field.frame.right - field.frame.left, field.frame.bottom - field.frame.top + 3};
    archive_config_view(description, view);
    return 0;
}
