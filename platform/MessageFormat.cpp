// The flattened form of a message, as settings files hold it. All numbers are
// little-endian:
//
//   "KMSG"            magic, 4 bytes
//   u32 version       1
//   u32 what
//   u32 field count
//   per field:        u32 type, u32 name length (1..255), name bytes,
//                     u32 entry count (at least 1), per entry: u32 length, bytes
//   u32 CRC-32        of every byte before it
//
// Entry bytes: bool one byte 0 or 1; int32, int64, float and double their 4 or 8
// bytes; a rectangle four floats (left, top, right, bottom); a point two floats; a
// string, a file reference's path and raw data their bytes; a nested message its
// own flattened form. Anything else, a duplicate field name, bytes left over or a
// wrong checksum makes the whole input "not a flattened message".

#include <array>
#include <bit>
#include <cstring>
#include <string>

#include "platform/Message.h"

namespace platform {

namespace {

constexpr char kMagic[4] = {'K', 'M', 'S', 'G'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxNameLength = 255;
constexpr int kMaxNesting = 32;

uint32_t crc32(const unsigned char* data, size_t size)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put_u32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void put_u64(std::string& out, uint64_t v)
{
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void put_bytes(std::string& out, const void* data, size_t size)
{
    put_u32(out, static_cast<uint32_t>(size));
    out.append(static_cast<const char*>(data), size);
}

std::string float_bytes(float f)
{
    std::string s;
    put_u32(s, std::bit_cast<uint32_t>(f));
    return s;
}

// Reads from a byte range and remembers the first failure.
class Reader {
public:
    explicit Reader(std::string_view data) : mData(data) {}
    bool ok() const { return mOk; }
    size_t left() const { return mData.size() - mPos; }
    uint32_t u32()
    {
        if (left() < 4) {
            fail();
            return 0;
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(mData[mPos + i])) << (8 * i);
        mPos += 4;
        return v;
    }
    std::string_view bytes(size_t n)
    {
        if (left() < n) {
            fail();
            return {};
        }
        std::string_view v = mData.substr(mPos, n);
        mPos += n;
        return v;
    }
    void fail()
    {
        mOk = false;
        mPos = mData.size();
    }

private:
    std::string_view mData;
    size_t mPos = 0;
    bool mOk = true;
};

uint32_t le32(std::string_view b, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

uint64_t le64(std::string_view b)
{
    return le32(b, 0) | (static_cast<uint64_t>(le32(b, 4)) << 32);
}

}  // namespace

struct MessageCodec {
    static status_t Flatten(const Message& message, std::string* out);
    static status_t Unflatten(std::string_view data, Message* into, int depth);
    static status_t Entry(uint32_t type, std::string_view bytes, Message::Value* value, int depth);
};

status_t MessageCodec::Flatten(const Message& message, std::string* out)
{
    std::string body(kMagic, sizeof kMagic);
    put_u32(body, kVersion);
    put_u32(body, message.what);
    put_u32(body, static_cast<uint32_t>(message.mFields.size()));
    for (const Message::Field& field : message.mFields) {
        if (field.name.size() > kMaxNameLength) return kBadValue;
        put_u32(body, field.type);
        put_bytes(body, field.name.data(), field.name.size());
        put_u32(body, static_cast<uint32_t>(field.values.size()));
        for (const Message::Value& value : field.values) {
            std::string entry;
            if (const bool* b = std::get_if<bool>(&value)) {
                entry.push_back(*b ? 1 : 0);
            } else if (const int32_t* i = std::get_if<int32_t>(&value)) {
                put_u32(entry, static_cast<uint32_t>(*i));
            } else if (const int64_t* l = std::get_if<int64_t>(&value)) {
                put_u64(entry, static_cast<uint64_t>(*l));
            } else if (const float* f = std::get_if<float>(&value)) {
                entry = float_bytes(*f);
            } else if (const double* d = std::get_if<double>(&value)) {
                put_u64(entry, std::bit_cast<uint64_t>(*d));
            } else if (const std::string* s = std::get_if<std::string>(&value)) {
                entry = *s;
            } else if (const Rect* r = std::get_if<Rect>(&value)) {
                entry = float_bytes(r->left) + float_bytes(r->top) + float_bytes(r->right) + float_bytes(r->bottom);
            } else if (const Point* p = std::get_if<Point>(&value)) {
                entry = float_bytes(p->x) + float_bytes(p->y);
            } else if (const EntryRef* ref = std::get_if<EntryRef>(&value)) {
                entry = ref->path;
            } else if (const Message::Nested* n = std::get_if<Message::Nested>(&value)) {
                if (status_t nested = Flatten(*n->message, &entry); nested != kOk) return nested;
            } else if (const auto* raw = std::get_if<std::vector<uint8_t>>(&value)) {
                entry.assign(raw->begin(), raw->end());
            } else {
                return kBadType;  // a messenger cannot leave the process
            }
            if (entry.size() > UINT32_MAX) return kBadValue;
            put_bytes(body, entry.data(), entry.size());
        }
    }
    put_u32(body, crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
    *out = std::move(body);
    return kOk;
}

status_t MessageCodec::Entry(uint32_t type, std::string_view b, Message::Value* value, int depth)
{
    auto need = [&](size_t n) { return b.size() == n; };
    auto f32 = [&](size_t at) { return std::bit_cast<float>(le32(b, at)); };
    switch (type) {
    case kBoolType:
        if (!need(1) || static_cast<unsigned char>(b[0]) > 1) return kBadData;
        *value = b[0] == 1;
        return kOk;
    case kInt32Type:
        if (!need(4)) return kBadData;
        *value = static_cast<int32_t>(le32(b, 0));
        return kOk;
    case kInt64Type:
        if (!need(8)) return kBadData;
        *value = static_cast<int64_t>(le64(b));
        return kOk;
    case kFloatType:
        if (!need(4)) return kBadData;
        *value = f32(0);
        return kOk;
    case kDoubleType:
        if (!need(8)) return kBadData;
        *value = std::bit_cast<double>(le64(b));
        return kOk;
    case kStringType: *value = std::string(b); return kOk;
    case kRectType:
        if (!need(16)) return kBadData;
        *value = Rect{f32(0), f32(4), f32(8), f32(12)};
        return kOk;
    case kPointType:
        if (!need(8)) return kBadData;
        *value = Point{f32(0), f32(4)};
        return kOk;
    case kRefType: *value = EntryRef{std::string(b)}; return kOk;
    case kMessageType: {
        Message nested;
        if (Unflatten(b, &nested, depth + 1) != kOk) return kBadData;
        *value = Message::Nested{std::make_shared<const Message>(std::move(nested))};
        return kOk;
    }
    case kMessengerType: return kBadData;
    default: *value = std::vector<uint8_t>(b.begin(), b.end()); return kOk;
    }
}

status_t MessageCodec::Unflatten(std::string_view data, Message* into, int depth)
{
    if (depth > kMaxNesting) return kBadData;
    if (data.size() < sizeof kMagic + 16) return kBadData;
    if (std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) return kBadData;
    size_t bodySize = data.size() - 4;
    if (le32(data, bodySize) != crc32(reinterpret_cast<const unsigned char*>(data.data()), bodySize)) return kBadData;

    Reader in(data.substr(sizeof kMagic, bodySize - sizeof kMagic));
    if (in.u32() != kVersion) return kBadData;
    Message result(in.u32());
    uint32_t fieldCount = in.u32();
    for (uint32_t f = 0; f < fieldCount && in.ok(); ++f) {
        uint32_t type = in.u32();
        uint32_t nameLength = in.u32();
        if (!in.ok() || nameLength == 0 || nameLength > kMaxNameLength) return kBadData;
        std::string_view name = in.bytes(nameLength);
        uint32_t count = in.u32();
        // Every entry takes at least its 4-byte length, which bounds the count.
        if (!in.ok() || count == 0 || count > in.left() / 4) return kBadData;
        if (result.HasField(name)) return kBadData;
        Message::Field field{std::string(name), type, {}};
        field.values.reserve(count);
        for (uint32_t e = 0; e < count; ++e) {
            uint32_t length = in.u32();
            std::string_view bytes = in.bytes(length);
            if (!in.ok()) return kBadData;
            Message::Value value;
            if (Entry(type, bytes, &value, depth) != kOk) return kBadData;
            field.values.push_back(std::move(value));
        }
        result.mFields.push_back(std::move(field));
    }
    if (!in.ok() || in.left() != 0) return kBadData;
    into->what = result.what;
    into->mFields = std::move(result.mFields);
    return kOk;
}

status_t Message::Flatten(std::string* out) const
{
    return MessageCodec::Flatten(*this, out);
}

status_t Message::Unflatten(std::string_view data)
{
    return MessageCodec::Unflatten(data, this, 0);
}

}  // namespace platform
