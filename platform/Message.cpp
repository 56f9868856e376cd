#include "platform/Message.h"

#include <algorithm>
#include <cstring>

#include "platform/ReplyChannel.h"

namespace platform {

Message::Message(uint32_t code) : what(code) {}

Message::~Message()
{
    AbandonReply();
}

Message::Message(const Message& other) : what(other.what), mFields(other.mFields) {}

Message& Message::operator=(const Message& other)
{
    if (this != &other) {
        what = other.what;
        mFields = other.mFields;
    }
    return *this;
}

Message::Message(Message&& other) noexcept
    : what(other.what), mFields(std::move(other.mFields)), mReplyTo(std::move(other.mReplyTo))
{}

Message& Message::operator=(Message&& other) noexcept
{
    if (this != &other) {
        AbandonReply();
        what = other.what;
        mFields = std::move(other.mFields);
        mReplyTo = std::move(other.mReplyTo);
    }
    return *this;
}

void Message::AbandonReply()
{
    if (mReplyTo) {
        mReplyTo->Answer(Message(kNoReply));
        mReplyTo.reset();
    }
}

const Message::Field* Message::FindField(std::string_view name) const
{
    for (const Field& field : mFields)
        if (field.name == name) return &field;
    return nullptr;
}

status_t Message::Append(std::string_view name, uint32_t type, Value value)
{
    if (name.empty()) return kBadValue;
    for (Field& field : mFields) {
        if (field.name != name) continue;
        if (field.type != type) return kBadType;
        field.values.push_back(std::move(value));
        return kOk;
    }
    mFields.push_back(Field{std::string(name), type, {}});
    mFields.back().values.push_back(std::move(value));
    return kOk;
}

const Message::Value* Message::Entry(std::string_view name, uint32_t type, int32_t index, status_t* status) const
{
    const Field* field = FindField(name);
    if (!field) {
        *status = kNameNotFound;
        return nullptr;
    }
    if (field->type != type) {
        *status = kBadType;
        return nullptr;
    }
    if (index < 0 || static_cast<size_t>(index) >= field->values.size()) {
        *status = kBadIndex;
        return nullptr;
    }
    *status = kOk;
    return &field->values[static_cast<size_t>(index)];
}

status_t Message::AddBool(std::string_view name, bool value)
{
    return Append(name, kBoolType, value);
}
status_t Message::AddInt32(std::string_view name, int32_t value)
{
    return Append(name, kInt32Type, value);
}
status_t Message::AddInt64(std::string_view name, int64_t value)
{
    return Append(name, kInt64Type, value);
}
status_t Message::AddFloat(std::string_view name, float value)
{
    return Append(name, kFloatType, value);
}
status_t Message::AddDouble(std::string_view name, double value)
{
    return Append(name, kDoubleType, value);
}
status_t Message::AddString(std::string_view name, std::string_view value)
{
    return Append(name, kStringType, std::string(value));
}
status_t Message::AddRect(std::string_view name, const Rect& value)
{
    return Append(name, kRectType, value);
}
status_t Message::AddPoint(std::string_view name, const Point& value)
{
    return Append(name, kPointType, value);
}
status_t Message::AddRef(std::string_view name, const EntryRef& value)
{
    return Append(name, kRefType, value);
}
status_t Message::AddMessage(std::string_view name, const Message& value)
{
    return Append(name, kMessageType, Nested{std::make_shared<const Message>(value)});
}
status_t Message::AddMessenger(std::string_view name, const Messenger& value)
{
    return Append(name, kMessengerType, value);
}

status_t Message::AddData(std::string_view name, uint32_t type, const void* data, size_t size)
{
    switch (type) {
    case kBoolType:
    case kInt32Type:
    case kInt64Type:
    case kFloatType:
    case kDoubleType:
    case kStringType:
    case kRectType:
    case kPointType:
    case kRefType:
    case kMessageType:
    case kMessengerType: return kBadType;  // typed fields have their own Add functions
    default: break;
    }
    if (size > 0 && !data) return kBadValue;
    const auto* bytes = static_cast<const uint8_t*>(data);
    return Append(name, type, std::vector<uint8_t>(bytes, bytes + size));
}

template <typename T>
status_t Message::FindAs(std::string_view name, uint32_t type, int32_t index, T* out) const
{
    status_t status;
    const Value* entry = Entry(name, type, index, &status);
    if (!entry) return status;
    *out = std::get<T>(*entry);
    return kOk;
}

status_t Message::FindBool(std::string_view name, int32_t index, bool* value) const
{
    return FindAs(name, kBoolType, index, value);
}
status_t Message::FindInt32(std::string_view name, int32_t index, int32_t* value) const
{
    return FindAs(name, kInt32Type, index, value);
}
status_t Message::FindInt64(std::string_view name, int32_t index, int64_t* value) const
{
    return FindAs(name, kInt64Type, index, value);
}
status_t Message::FindFloat(std::string_view name, int32_t index, float* value) const
{
    return FindAs(name, kFloatType, index, value);
}
status_t Message::FindDouble(std::string_view name, int32_t index, double* value) const
{
    return FindAs(name, kDoubleType, index, value);
}
status_t Message::FindString(std::string_view name, int32_t index, std::string* value) const
{
    return FindAs(name, kStringType, index, value);
}
status_t Message::FindString(std::string_view name, int32_t index, const char** value) const
{
    status_t status;
    const Value* entry = Entry(name, kStringType, index, &status);
    if (!entry) return status;
    *value = std::get<std::string>(*entry).c_str();
    return kOk;
}
status_t Message::FindRect(std::string_view name, int32_t index, Rect* value) const
{
    return FindAs(name, kRectType, index, value);
}
status_t Message::FindPoint(std::string_view name, int32_t index, Point* value) const
{
    return FindAs(name, kPointType, index, value);
}
status_t Message::FindRef(std::string_view name, int32_t index, EntryRef* value) const
{
    return FindAs(name, kRefType, index, value);
}
status_t Message::FindMessage(std::string_view name, int32_t index, Message* value) const
{
    status_t status;
    const Value* entry = Entry(name, kMessageType, index, &status);
    if (!entry) return status;
    *value = *std::get<Nested>(*entry).message;
    return kOk;
}
status_t Message::FindMessenger(std::string_view name, int32_t index, Messenger* value) const
{
    return FindAs(name, kMessengerType, index, value);
}

status_t Message::FindData(std::string_view name, uint32_t type, int32_t index, const void** data, size_t* size) const
{
    status_t status;
    const Value* entry = Entry(name, type, index, &status);
    if (!entry) return status;
    const auto* bytes = std::get_if<std::vector<uint8_t>>(entry);
    if (!bytes) return kBadType;  // a typed field; use its own Find function
    *data = bytes->data();
    *size = bytes->size();
    return kOk;
}

bool Message::HasField(std::string_view name) const
{
    return FindField(name) != nullptr;
}

status_t Message::GetInfo(std::string_view name, uint32_t* type, int32_t* count) const
{
    const Field* field = FindField(name);
    if (!field) return kNameNotFound;
    if (type) *type = field->type;
    if (count) *count = static_cast<int32_t>(field->values.size());
    return kOk;
}

std::vector<std::string> Message::FieldNames() const
{
    std::vector<std::string> names;
    names.reserve(mFields.size());
    for (const Field& field : mFields) names.push_back(field.name);
    return names;
}

status_t Message::RemoveName(std::string_view name)
{
    auto it = std::find_if(mFields.begin(), mFields.end(), [&](const Field& f) { return f.name == name; });
    if (it == mFields.end()) return kNameNotFound;
    mFields.erase(it);
    return kOk;
}

void Message::MakeEmpty()
{
    mFields.clear();
}

bool Message::IsSourceWaiting() const
{
    if (!mReplyTo) return false;
    std::lock_guard lock(mReplyTo->mutex);
    return !mReplyTo->done;
}

status_t Message::SendReply(const Message& reply)
{
    if (!mReplyTo) return kBadValue;
    bool first = mReplyTo->Answer(reply);
    mReplyTo.reset();
    return first ? kOk : kBadValue;
}

}  // namespace platform
