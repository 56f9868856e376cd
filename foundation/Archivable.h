#pragma once
// The base of every settings object: it saves itself into a settings file as one
// flattened message and loads itself back, and it offers look-ups that leave a
// member at its default when the file lacks the key.
//
// Results: 0 for success, -1 for failure. The look-ups return the message's status
// (0 when found) and write the member only on success.

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/CharColor.h"
#include "platform/Archivable.h"
#include "platform/Message.h"

// The largest settings file that is read; anything larger is not a settings file.
inline constexpr size_t kMaxSettingsFileSize = 1024 * 1024;

class TArchivable : public platform::Archivable {
public:
    TArchivable() = default;
    explicit TArchivable(const platform::Message* archive) : platform::Archivable(archive) {}
    ~TArchivable() override = default;

    // A new TArchivable when the archive is one of a TArchivable; null otherwise.
    static TArchivable* Instantiate(const platform::Message* archive);

    // Reads the file at `entry` and hands its message to Unarchive. -1 when the file
    // is missing, unreadable, larger than kMaxSettingsFileSize or not one whole
    // flattened message (the object is then untouched), or when Unarchive fails.
    int32_t Load(const std::string& entry);
    // Archives the object and replaces the file at `entry` with it. The old file stays
    // whole on every failure, a failing Archive included.
    int32_t Save(const std::string& entry) const;

    // The base archiving, then "TArchivable" under "class"; 0 only when both succeed.
    platform::status_t Archive(platform::Message* into, bool deep) const override;
    // Reads the object's keys; the base reads nothing and returns 0.
    virtual int32_t Unarchive(const platform::Message& archive);

    using Message = platform::Message;
    using status_t = platform::status_t;

    status_t FindBool(const Message& archive, std::string_view key, int32_t index, bool* member) const;
    status_t FindBool(const Message& archive, std::string_view key, bool* member) const;
    status_t FindInt32(const Message& archive, std::string_view key, int32_t index, int32_t* member) const;
    status_t FindInt32(const Message& archive, std::string_view key, int32_t* member) const;
    status_t FindInt64(const Message& archive, std::string_view key, int32_t index, int64_t* member) const;
    status_t FindInt64(const Message& archive, std::string_view key, int64_t* member) const;
    status_t FindFloat(const Message& archive, std::string_view key, int32_t index, float* member) const;
    status_t FindFloat(const Message& archive, std::string_view key, float* member) const;
    status_t FindDouble(const Message& archive, std::string_view key, int32_t index, double* member) const;
    status_t FindDouble(const Message& archive, std::string_view key, double* member) const;
    // A pointer into the archive's own storage, valid while the archive lives.
    status_t FindString(const Message& archive, std::string_view key, int32_t index, const char** member) const;
    status_t FindString(const Message& archive, std::string_view key, const char** member) const;
    status_t FindString(const Message& archive, std::string_view key, int32_t index, std::string* member) const;
    status_t FindString(const Message& archive, std::string_view key, std::string* member) const;
    status_t FindRect(const Message& archive, std::string_view key, int32_t index, platform::Rect* member) const;
    status_t FindRect(const Message& archive, std::string_view key, platform::Rect* member) const;
    status_t FindRef(const Message& archive, std::string_view key, int32_t index, platform::EntryRef* member) const;
    status_t FindRef(const Message& archive, std::string_view key, platform::EntryRef* member) const;
    status_t FindMessage(const Message& archive, std::string_view key, int32_t index, Message* member) const;
    status_t FindMessage(const Message& archive, std::string_view key, Message* member) const;
    // Raw data of `type`: the pointer and the size, both or neither.
    status_t FindData(const Message& archive, std::string_view key, uint32_t type, int32_t index, const void** data,
                      int32_t* size) const;
    status_t FindData(const Message& archive, std::string_view key, uint32_t type, const void** data,
                      int32_t* size) const;
    // The first 4 bytes (red, green, blue, alpha) of raw data of type 'RAWT'. Data
    // shorter than 4 bytes counts as missing (kNameNotFound).
    status_t FindRGBColor(const Message& archive, std::string_view key, int32_t index, rgb_color* member) const;
    status_t FindRGBColor(const Message& archive, std::string_view key, rgb_color* member) const;
};
