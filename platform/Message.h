#pragma once
// A message: a what code and typed, named fields, each of which may hold several
// entries of its type. Messages go between handlers (see Looper, Messenger) and are
// the content of settings files in their flattened form.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Messenger.h"
#include "platform/Status.h"

namespace platform {

// The four-character code "vmrr" as the 32-bit number 0x766D7272; shorter codes
// ("run") are right-aligned the same way.
constexpr uint32_t fourcc(std::string_view code)
{
    uint32_t value = 0;
    for (char c : code) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

// Field type codes.
inline constexpr uint32_t kBoolType = fourcc("BOOL");
inline constexpr uint32_t kInt32Type = fourcc("LONG");
inline constexpr uint32_t kInt64Type = fourcc("LLNG");
inline constexpr uint32_t kFloatType = fourcc("FLOT");
inline constexpr uint32_t kDoubleType = fourcc("DBLE");
inline constexpr uint32_t kStringType = fourcc("CSTR");
inline constexpr uint32_t kRectType = fourcc("RECT");
inline constexpr uint32_t kPointType = fourcc("BPNT");
inline constexpr uint32_t kRefType = fourcc("RREF");
inline constexpr uint32_t kMessageType = fourcc("MSGG");
inline constexpr uint32_t kMessengerType = fourcc("MSNG");
// Raw bytes; AddData may also use any other code not listed above.
inline constexpr uint32_t kRawType = fourcc("RAWT");

// The what code of the reply that a synchronous sender gets when the message was
// dropped or handled without a reply.
inline constexpr uint32_t kNoReply = fourcc("NRPL");

// A file, named by its path.
struct EntryRef {
    std::string path;
    friend bool operator==(const EntryRef&, const EntryRef&) = default;
};

struct ReplyChannel;

class Message {
public:
    explicit Message(uint32_t what = 0);
    ~Message();
    // A copy has the fields and the what code; the waiting sender, if any, stays
    // with the original.
    Message(const Message& other);
    Message& operator=(const Message& other);
    Message(Message&& other) noexcept;
    Message& operator=(Message&& other) noexcept;

    uint32_t what;

    // Adding: each call appends one entry to the field of that name, creating the
    // field. kBadType when the name already holds another type.
    status_t AddBool(std::string_view name, bool value);
    status_t AddInt32(std::string_view name, int32_t value);
    status_t AddInt64(std::string_view name, int64_t value);
    status_t AddFloat(std::string_view name, float value);
    status_t AddDouble(std::string_view name, double value);
    status_t AddString(std::string_view name, std::string_view value);
    status_t AddRect(std::string_view name, const Rect& value);
    status_t AddPoint(std::string_view name, const Point& value);
    status_t AddRef(std::string_view name, const EntryRef& value);
    status_t AddMessage(std::string_view name, const Message& value);
    // A messenger lives only in this process: a message holding one cannot be flattened.
    status_t AddMessenger(std::string_view name, const Messenger& value);
    status_t AddData(std::string_view name, uint32_t type, const void* data, size_t size);

    // Finding: kOk and the value, or kNameNotFound, kBadType or kBadIndex and the
    // output untouched. The forms without an index read entry 0.
    status_t FindBool(std::string_view name, int32_t index, bool* value) const;
    status_t FindBool(std::string_view name, bool* value) const { return FindBool(name, 0, value); }
    status_t FindInt32(std::string_view name, int32_t index, int32_t* value) const;
    status_t FindInt32(std::string_view name, int32_t* value) const { return FindInt32(name, 0, value); }
    status_t FindInt64(std::string_view name, int32_t index, int64_t* value) const;
    status_t FindInt64(std::string_view name, int64_t* value) const { return FindInt64(name, 0, value); }
    status_t FindFloat(std::string_view name, int32_t index, float* value) const;
    status_t FindFloat(std::string_view name, float* value) const { return FindFloat(name, 0, value); }
    status_t FindDouble(std::string_view name, int32_t index, double* value) const;
    status_t FindDouble(std::string_view name, double* value) const { return FindDouble(name, 0, value); }
    status_t FindString(std::string_view name, int32_t index, std::string* value) const;
    status_t FindString(std::string_view name, std::string* value) const { return FindString(name, 0, value); }
    // A pointer into this message's own storage, valid while the message lives unchanged.
    status_t FindString(std::string_view name, int32_t index, const char** value) const;
    status_t FindString(std::string_view name, const char** value) const { return FindString(name, 0, value); }
    status_t FindRect(std::string_view name, int32_t index, Rect* value) const;
    status_t FindRect(std::string_view name, Rect* value) const { return FindRect(name, 0, value); }
    status_t FindPoint(std::string_view name, int32_t index, Point* value) const;
    status_t FindPoint(std::string_view name, Point* value) const { return FindPoint(name, 0, value); }
    status_t FindRef(std::string_view name, int32_t index, EntryRef* value) const;
    status_t FindRef(std::string_view name, EntryRef* value) const { return FindRef(name, 0, value); }
    status_t FindMessage(std::string_view name, int32_t index, Message* value) const;
    status_t FindMessage(std::string_view name, Message* value) const { return FindMessage(name, 0, value); }
    status_t FindMessenger(std::string_view name, int32_t index, Messenger* value) const;
    status_t FindMessenger(std::string_view name, Messenger* value) const { return FindMessenger(name, 0, value); }
    // The bytes of a field added with AddData under `type`; both outputs or neither.
    status_t FindData(std::string_view name, uint32_t type, int32_t index, const void** data, size_t* size) const;
    status_t FindData(std::string_view name, uint32_t type, const void** data, size_t* size) const
    {
        return FindData(name, type, 0, data, size);
    }

    bool HasField(std::string_view name) const;
    // The type and the number of entries of a field; kNameNotFound when absent.
    status_t GetInfo(std::string_view name, uint32_t* type, int32_t* count) const;
    // The fields' names in the order in which they were first added.
    std::vector<std::string> FieldNames() const;
    int32_t CountFields() const { return static_cast<int32_t>(mFields.size()); }
    bool IsEmpty() const { return mFields.empty(); }
    status_t RemoveName(std::string_view name);
    void MakeEmpty();

    // The flattened form (see MessageFormat.cpp). Flatten fails with kBadType when a
    // field cannot leave the process (a messenger). Unflatten replaces this message
    // only when the whole input is one well-formed flattened message; otherwise it
    // returns kBadData and leaves the message as it was.
    status_t Flatten(std::string* out) const;
    status_t Unflatten(std::string_view data);

    // Synchronous delivery: true while a sender waits for the reply to this message.
    bool IsSourceWaiting() const;
    // Answers the waiting sender; kBadValue when nobody waits or the reply was given.
    status_t SendReply(const Message& reply);
    status_t SendReply(uint32_t replyWhat) { return SendReply(Message(replyWhat)); }

private:
    friend class Messenger;
    friend struct MessageCodec;

    struct Nested {
        std::shared_ptr<const Message> message;  // never changed after adding
    };
    using Value = std::variant<bool, int32_t, int64_t, float, double, std::string, Rect, Point, EntryRef, Nested,
                               Messenger, std::vector<uint8_t>>;
    struct Field {
        std::string name;
        uint32_t type;
        std::vector<Value> values;
    };

    status_t Append(std::string_view name, uint32_t type, Value value);
    // The entry, or null with the status in `status`.
    const Value* Entry(std::string_view name, uint32_t type, int32_t index, status_t* status) const;
    const Field* FindField(std::string_view name) const;
    template <typename T>
    status_t FindAs(std::string_view name, uint32_t type, int32_t index, T* out) const;
    void AbandonReply();

    std::vector<Field> mFields;
    std::shared_ptr<ReplyChannel> mReplyTo;
};

}  // namespace platform
