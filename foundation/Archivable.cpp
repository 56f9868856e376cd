#include "foundation/Archivable.h"

#include "platform/SettingsFolder.h"

using platform::Message;
using platform::status_t;

TArchivable* TArchivable::Instantiate(const Message* archive)
{
    if (!platform::validate_instantiation(archive, "TArchivable")) return nullptr;
    return new TArchivable(archive);
}

int32_t TArchivable::Load(const std::string& entry)
{
    std::string contents;
    if (platform::read_file(entry, kMaxSettingsFileSize, &contents) != platform::kOk) return -1;
    Message archive;
    if (archive.Unflatten(contents) != platform::kOk) return -1;
    return Unarchive(archive) == 0 ? 0 : -1;
}

int32_t TArchivable::Save(const std::string& entry) const
{
    Message archive(0);
    if (Archive(&archive, true) != platform::kOk) return -1;
    std::string flat;
    if (archive.Flatten(&flat) != platform::kOk) return -1;
    return platform::write_file_atomically(entry, flat) == platform::kOk ? 0 : -1;
}

status_t TArchivable::Archive(Message* into, bool deep) const
{
    status_t base = platform::Archivable::Archive(into, deep);
    status_t own = into ? into->AddString("class", "TArchivable") : platform::kBadValue;
    return base | own;
}

int32_t TArchivable::Unarchive(const Message&)
{
    return 0;
}

status_t TArchivable::FindBool(const Message& a, std::string_view key, int32_t index, bool* member) const
{
    return a.FindBool(key, index, member);
}
status_t TArchivable::FindBool(const Message& a, std::string_view key, bool* member) const
{
    return FindBool(a, key, 0, member);
}
status_t TArchivable::FindInt32(const Message& a, std::string_view key, int32_t index, int32_t* member) const
{
    return a.FindInt32(key, index, member);
}
status_t TArchivable::FindInt32(const Message& a, std::string_view key, int32_t* member) const
{
    return FindInt32(a, key, 0, member);
}
status_t TArchivable::FindInt64(const Message& a, std::string_view key, int32_t index, int64_t* member) const
{
    return a.FindInt64(key, index, member);
}
status_t TArchivable::FindInt64(const Message& a, std::string_view key, int64_t* member) const
{
    return FindInt64(a, key, 0, member);
}
status_t TArchivable::FindFloat(const Message& a, std::string_view key, int32_t index, float* member) const
{
    return a.FindFloat(key, index, member);
}
status_t TArchivable::FindFloat(const Message& a, std::string_view key, float* member) const
{
    return FindFloat(a, key, 0, member);
}
status_t TArchivable::FindDouble(const Message& a, std::string_view key, int32_t index, double* member) const
{
    return a.FindDouble(key, index, member);
}
status_t TArchivable::FindDouble(const Message& a, std::string_view key, double* member) const
{
    return FindDouble(a, key, 0, member);
}
status_t TArchivable::FindString(const Message& a, std::string_view key, int32_t index, const char** member) const
{
    return a.FindString(key, index, member);
}
status_t TArchivable::FindString(const Message& a, std::string_view key, const char** member) const
{
    return FindString(a, key, 0, member);
}
status_t TArchivable::FindString(const Message& a, std::string_view key, int32_t index, std::string* member) const
{
    return a.FindString(key, index, member);
}
status_t TArchivable::FindString(const Message& a, std::string_view key, std::string* member) const
{
    return FindString(a, key, 0, member);
}
status_t TArchivable::FindRect(const Message& a, std::string_view key, int32_t index, platform::Rect* member) const
{
    return a.FindRect(key, index, member);
}
status_t TArchivable::FindRect(const Message& a, std::string_view key, platform::Rect* member) const
{
    return FindRect(a, key, 0, member);
}
status_t TArchivable::FindRef(const Message& a, std::string_view key, int32_t index, platform::EntryRef* member) const
{
    return a.FindRef(key, index, member);
}
status_t TArchivable::FindRef(const Message& a, std::string_view key, platform::EntryRef* member) const
{
    return FindRef(a, key, 0, member);
}
status_t TArchivable::FindMessage(const Message& a, std::string_view key, int32_t index, Message* member) const
{
    return a.FindMessage(key, index, member);
}
status_t TArchivable::FindMessage(const Message& a, std::string_view key, Message* member) const
{
    return FindMessage(a, key, 0, member);
}

status_t TArchivable::FindData(const Message& a, std::string_view key, uint32_t type, int32_t index, const void** data,
                               int32_t* size) const
{
    const void* found = nullptr;
    size_t length = 0;
    status_t status = a.FindData(key, type, index, &found, &length);
    if (status != platform::kOk) return status;
    if (length > static_cast<size_t>(INT32_MAX)) return platform::kBadValue;
    *data = found;
    *size = static_cast<int32_t>(length);
    return platform::kOk;
}
status_t TArchivable::FindData(const Message& a, std::string_view key, uint32_t type, const void** data,
                               int32_t* size) const
{
    return FindData(a, key, type, 0, data, size);
}

status_t TArchivable::FindRGBColor(const Message& a, std::string_view key, int32_t index, rgb_color* member) const
{
    const void* data = nullptr;
    size_t size = 0;
    status_t status = a.FindData(key, platform::kRawType, index, &data, &size);
    if (status != platform::kOk) return status;
    if (size < 4) return platform::kNameNotFound;
    const auto* bytes = static_cast<const uint8_t*>(data);
    *member = rgb_color{bytes[0], bytes[1], bytes[2], bytes[3]};
    return platform::kOk;
}
status_t TArchivable::FindRGBColor(const Message& a, std::string_view key, rgb_color* member) const
{
    return FindRGBColor(a, key, 0, member);
}
