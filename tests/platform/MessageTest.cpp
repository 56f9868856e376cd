#include "platform/Message.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

TEST(PlatformMessage, FourCharacterCodes)
{
    EXPECT_EQ(fourcc("vmrr"), 0x766D7272u);
    EXPECT_EQ(fourcc("DSto"), 0x4453746Fu);
    EXPECT_EQ(fourcc("run"), 0x0072756Eu);
}

TEST(PlatformMessage, TypedRepeatableFields)
{
    Message m(fourcc("test"));
    ASSERT_EQ(m.AddString("name", "first"), kOk);
    ASSERT_EQ(m.AddString("name", ""), kOk);
    ASSERT_EQ(m.AddString("name", "third"), kOk);
    ASSERT_EQ(m.AddInt32("count", -7), kOk);

    std::string text = "untouched";
    std::vector<std::string> read;
    for (int32_t i = 0; m.FindString("name", i, &text) == kOk; ++i) read.push_back(text);
    EXPECT_EQ(read, (std::vector<std::string>{"first", "", "third"}));

    const char* raw = nullptr;
    ASSERT_EQ(m.FindString("name", 2, &raw), kOk);
    EXPECT_STREQ(raw, "third");

    uint32_t type = 0;
    int32_t count = 0;
    ASSERT_EQ(m.GetInfo("name", &type, &count), kOk);
    EXPECT_EQ(type, kStringType);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(m.FieldNames(), (std::vector<std::string>{"name", "count"}));
}

TEST(PlatformMessage, FailedLookUpsLeaveTheOutputAlone)
{
    Message m;
    m.AddInt32("number", 5);
    m.AddBool("flag", true);
    int32_t value = 99;
    EXPECT_EQ(m.FindInt32("missing", &value), kNameNotFound);
    EXPECT_EQ(m.FindInt32("flag", &value), kBadType);
    EXPECT_EQ(m.FindInt32("number", 1, &value), kBadIndex);
    EXPECT_EQ(m.FindInt32("number", -1, &value), kBadIndex);
    EXPECT_EQ(value, 99);
    EXPECT_EQ(m.AddBool("number", false), kBadType);  // a name keeps its type
    EXPECT_EQ(m.AddInt32("", 1), kBadValue);
}

TEST(PlatformMessage, RawDataAndTypedCodesStayApart)
{
    Message m;
    const uint8_t colour[4] = {1, 2, 3, 4};
    ASSERT_EQ(m.AddData("colour", kRawType, colour, sizeof colour), kOk);
    EXPECT_EQ(m.AddData("bad", kInt32Type, colour, 4), kBadType);
    const void* data = nullptr;
    size_t size = 0;
    ASSERT_EQ(m.FindData("colour", kRawType, &data, &size), kOk);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::memcmp(data, colour, 4), 0);
    EXPECT_EQ(m.FindData("colour", fourcc("RGBC"), &data, &size), kBadType);
}

TEST(PlatformMessage, CopiesAreDeep)
{
    Message inner(fourcc("innr"));
    inner.AddString("text", "a");
    Message outer;
    outer.AddMessage("NextMsg", inner);
    Message copy = outer;
    outer.MakeEmpty();
    Message found;
    ASSERT_EQ(copy.FindMessage("NextMsg", &found), kOk);
    EXPECT_EQ(found.what, fourcc("innr"));
    std::string text;
    EXPECT_EQ(found.FindString("text", &text), kOk);
    EXPECT_EQ(text, "a");
}

namespace {

Message every_type()
{
    Message m(fourcc("all "));
    m.AddBool("b", true);
    m.AddBool("b", false);
    m.AddInt32("i", INT32_MIN);
    m.AddInt64("l", INT64_MAX);
    m.AddFloat("f", 11.5f);
    m.AddDouble("d", -0.1);
    m.AddString("s", "ｱ text");
    m.AddString("s", "");
    m.AddRect("r", Rect{5, 24, 500, 300});
    m.AddPoint("p", Point{-1.5f, 2});
    m.AddRef("ref", EntryRef{"/tmp/x.bas"});
    const uint8_t raw[3] = {0, 255, 7};
    m.AddData("raw", kRawType, raw, 3);
    Message nested(fourcc("nest"));
    nested.AddInt32("deep", 3);
    m.AddMessage("m", nested);
    return m;
}

}  // namespace

TEST(PlatformMessageFormat, EveryTypeSurvivesARoundTrip)
{
    Message original = every_type();
    std::string flat;
    ASSERT_EQ(original.Flatten(&flat), kOk);
    Message back;
    ASSERT_EQ(back.Unflatten(flat), kOk);
    EXPECT_EQ(back.what, original.what);
    EXPECT_EQ(back.FieldNames(), original.FieldNames());
    bool b = true;
    EXPECT_EQ(back.FindBool("b", 1, &b), kOk);
    EXPECT_FALSE(b);
    int32_t i = 0;
    EXPECT_EQ(back.FindInt32("i", &i), kOk);
    EXPECT_EQ(i, INT32_MIN);
    int64_t l = 0;
    EXPECT_EQ(back.FindInt64("l", &l), kOk);
    EXPECT_EQ(l, INT64_MAX);
    float f = 0;
    EXPECT_EQ(back.FindFloat("f", &f), kOk);
    EXPECT_EQ(f, 11.5f);
    double d = 0;
    EXPECT_EQ(back.FindDouble("d", &d), kOk);
    EXPECT_EQ(d, -0.1);
    std::string s;
    EXPECT_EQ(back.FindString("s", 0, &s), kOk);
    EXPECT_EQ(s, "ｱ text");
    EXPECT_EQ(back.FindString("s", 1, &s), kOk);
    EXPECT_EQ(s, "");
    Rect r;
    EXPECT_EQ(back.FindRect("r", &r), kOk);
    EXPECT_EQ(r, (Rect{5, 24, 500, 300}));
    Point p;
    EXPECT_EQ(back.FindPoint("p", &p), kOk);
    EXPECT_EQ(p, (Point{-1.5f, 2}));
    EntryRef ref;
    EXPECT_EQ(back.FindRef("ref", &ref), kOk);
    EXPECT_EQ(ref.path, "/tmp/x.bas");
    const void* raw = nullptr;
    size_t size = 0;
    EXPECT_EQ(back.FindData("raw", kRawType, &raw, &size), kOk);
    EXPECT_EQ(size, 3u);
    Message nested;
    EXPECT_EQ(back.FindMessage("m", &nested), kOk);
    EXPECT_EQ(nested.what, fourcc("nest"));
    EXPECT_EQ(nested.FindInt32("deep", &i), kOk);
    EXPECT_EQ(i, 3);

    std::string again;
    ASSERT_EQ(back.Flatten(&again), kOk);
    EXPECT_EQ(again, flat);
}

TEST(PlatformMessageFormat, AMessengerCannotBeFlattened)
{
    Message m;
    m.AddMessenger("target", Messenger());
    std::string flat = "unchanged";
    EXPECT_EQ(m.Flatten(&flat), kBadType);
    EXPECT_EQ(flat, "unchanged");
}

TEST(PlatformMessageFormat, EveryTruncationIsRejectedAndLeavesTheMessageAlone)
{
    std::string flat;
    ASSERT_EQ(every_type().Flatten(&flat), kOk);
    for (size_t length = 0; length < flat.size(); ++length) {
        Message m(fourcc("keep"));
        m.AddInt32("old", 1);
        ASSERT_EQ(m.Unflatten(std::string_view(flat).substr(0, length)), kBadData) << length;
        EXPECT_EQ(m.what, fourcc("keep"));
        EXPECT_TRUE(m.HasField("old"));
    }
}

TEST(PlatformMessageFormat, EveryChangedByteIsRejected)
{
    std::string flat;
    ASSERT_EQ(every_type().Flatten(&flat), kOk);
    for (size_t at = 0; at < flat.size(); ++at) {
        std::string bad = flat;
        bad[at] = static_cast<char>(bad[at] ^ 0x20);
        Message m;
        EXPECT_EQ(m.Unflatten(bad), kBadData) << at;
    }
}

TEST(PlatformMessageFormat, ExtraBytesAndForeignDataAreRejected)
{
    std::string flat;
    ASSERT_EQ(every_type().Flatten(&flat), kOk);
    Message m;
    EXPECT_EQ(m.Unflatten(flat + '\0'), kBadData);
    EXPECT_EQ(m.Unflatten(""), kBadData);
    EXPECT_EQ(m.Unflatten("10 PRINT \"HELLO\"\n20 END\n"), kBadData);
    EXPECT_EQ(m.Unflatten(std::string(64, '\0')), kBadData);
}

namespace {

// Builds flattened bytes by hand, with a correct checksum, to reach the checks
// behind the checksum.
struct Flat {
    std::string bytes = "KMSG";
    Flat& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Flat& text(std::string_view t)
    {
        u32(static_cast<uint32_t>(t.size()));
        bytes.append(t);
        return *this;
    }
    std::string sealed() const
    {
        uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char c : bytes) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        Flat out = *this;
        return out.u32(crc ^ 0xFFFFFFFFu).bytes;
    }
};

}  // namespace

TEST(PlatformMessageFormat, HandBuiltInputIsCheckedBehindTheChecksum)
{
    const std::string one(1, '\1');
    const std::string two(1, '\2');
    struct Case {
        const char* what;
        std::string bytes;
        status_t expected;
    };
    const Case cases[] = {
        {"well formed", Flat().u32(1).u32(0).u32(1).u32(kBoolType).text("BrkS").u32(1).text(one).sealed(), kOk},
        {"version 2", Flat().u32(2).u32(0).u32(0).sealed(), kBadData},
        {"bool byte 2", Flat().u32(1).u32(0).u32(1).u32(kBoolType).text("BrkS").u32(1).text(two).sealed(), kBadData},
        {"short int32", Flat().u32(1).u32(0).u32(1).u32(kInt32Type).text("SVol").u32(1).text("abc").sealed(), kBadData},
        {"empty name", Flat().u32(1).u32(0).u32(1).u32(kBoolType).text("").u32(1).text(one).sealed(), kBadData},
        {"no entries", Flat().u32(1).u32(0).u32(1).u32(kBoolType).text("BrkS").u32(0).sealed(), kBadData},
        {"huge entry count", Flat().u32(1).u32(0).u32(1).u32(kBoolType).text("BrkS").u32(0x7FFFFFFF).text(one).sealed(),
         kBadData},
        {"huge field count", Flat().u32(1).u32(0).u32(0xFFFFFFFF).sealed(), kBadData},
        {"entry longer than the input",
         Flat().u32(1).u32(0).u32(1).u32(kStringType).text("MWFF").u32(1).u32(1000).sealed(), kBadData},
        {"duplicate name",
         Flat()
             .u32(1)
             .u32(0)
             .u32(2)
             .u32(kBoolType)
             .text("BrkS")
             .u32(1)
             .text(one)
             .u32(kBoolType)
             .text("BrkS")
             .u32(1)
             .text(one)
             .sealed(),
         kBadData},
        {"messenger", Flat().u32(1).u32(0).u32(1).u32(kMessengerType).text("t").u32(1).text("").sealed(), kBadData},
        {"corrupt nested message",
         Flat().u32(1).u32(0).u32(1).u32(kMessageType).text("NextMsg").u32(1).text("KMSG junk").sealed(), kBadData},
    };
    for (const Case& c : cases) {
        Message m;
        EXPECT_EQ(m.Unflatten(c.bytes), c.expected) << c.what;
    }
}

TEST(PlatformMessageFormat, DeepNestingIsRejected)
{
    Message m;
    m.AddInt32("leaf", 1);
    for (int i = 0; i < 40; ++i) {
        Message outer;
        outer.AddMessage("m", m);
        m = outer;
    }
    std::string flat;
    ASSERT_EQ(m.Flatten(&flat), kOk);
    Message back;
    EXPECT_EQ(back.Unflatten(flat), kBadData);
}
