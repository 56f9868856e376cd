#include <gtest/gtest.h>

#include <string>

#include "listfiles/BinSaveNumber.h"
#include "tests/listfiles/ByteString.h"

namespace {

struct NumberCase {
    int marker;
    std::string payload;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << "marker 0x" << std::hex << c.marker << " -> " << c.text;
}

class BinSaveNumber : public testing::TestWithParam<NumberCase> {};

// The payload stands between a marker byte and a trailing byte that must stay unread.
TEST_P(BinSaveNumber, DecodesAndConsumesExactlyThePayload)
{
    const NumberCase& c = GetParam();
    const std::string bytes = bytes_of({0xFE, c.marker}) + c.payload + "\xAA";
    int64_t pos = 2;
    EXPECT_EQ(BinSaveDecodeNum(bytes, &pos, static_cast<unsigned char>(c.marker)), c.text);
    EXPECT_EQ(pos, 2 + static_cast<int64_t>(c.payload.size()));
}

TEST_P(BinSaveNumber, PayloadCutShortFails)
{
    const NumberCase& c = GetParam();
    for (size_t kept = 0; kept < c.payload.size(); ++kept) {
        const std::string bytes = bytes_of({0xFE, c.marker}) + c.payload.substr(0, kept);
        int64_t pos = 2;
        EXPECT_THROW(BinSaveDecodeNum(bytes, &pos, static_cast<unsigned char>(c.marker)), int) << kept;
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, BinSaveNumber,
    testing::Values(
        NumberCase{0x0B, bytes_of({0xFF, 0x01}), "&O777"}, NumberCase{0x0B, bytes_of({0xFF, 0xFF}), "&O177777"},
        NumberCase{0x0B, bytes_of({0x0F, 0x00}), "&O17"}, NumberCase{0x0B, bytes_of({0x00, 0x00}), "&O0"},
        NumberCase{0x0C, bytes_of({0xAB, 0x00}), "&HAB"}, NumberCase{0x0C, bytes_of({0xFF, 0xFF}), "&HFFFF"},
        NumberCase{0x0C, bytes_of({0x00, 0x00}), "&H0"}, NumberCase{0x0C, bytes_of({0x00, 0x12}), "&H1200"},
        NumberCase{0x0E, bytes_of({0x10, 0x27}), "10000"}, NumberCase{0x0E, bytes_of({0x40, 0x9C}), "-25536"},
        NumberCase{0x0F, bytes_of({0xFF}), "255"}, NumberCase{0x0F, bytes_of({0xC8}), "200"}, NumberCase{0x10, "", "0"},
        NumberCase{0x13, "", "3"}, NumberCase{0x19, "", "9"}, NumberCase{0x1C, bytes_of({0x00, 0x01}), "256"},
        NumberCase{0x1C, bytes_of({0x00, 0x80}), "-32768"}, NumberCase{0x1C, bytes_of({0xFF, 0xFF}), "-1"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x81}), "1!"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x40, 0x81}), "1.5"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x80}), ".5"},
        NumberCase{0x1D, bytes_of({0xCD, 0xCC, 0x4C, 0x7D}), ".1"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x88}), "128!"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x48, 0x87}), "100!"},
        NumberCase{0x1D, bytes_of({0x00, 0xFE, 0x7F, 0x8F}), "32767!"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x90}), "32768"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x80, 0x90}), "-32768!"},
        NumberCase{0x1D, bytes_of({0x00, 0x50, 0x43, 0x91}), "100000"},
        NumberCase{0x1D, bytes_of({0x00, 0x24, 0x74, 0x94}), "1000000"},
        NumberCase{0x1D, bytes_of({0x25, 0x06, 0x1A, 0x8B}), "1232.192017"},
        NumberCase{0x1D, bytes_of({0xFF, 0xFF, 0x3F, 0x82}), "3"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x00}), "0!"},
        NumberCase{0x1D, bytes_of({0x12, 0x34, 0xD6, 0x00}), "0!"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0x00, 0x60}), "0"},
        NumberCase{0x1D, bytes_of({0x00, 0x00, 0xC0, 0x82}), "-3!"},
        NumberCase{0x1D, bytes_of({0xFF, 0xFF, 0x7F, 0xFF}), "170141173319264429905852091742258462720"},
        NumberCase{0x1F, bytes_of({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x81}), "1.5#"},
        NumberCase{0x1F, bytes_of({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x81}), "1#"},
        NumberCase{0x1F, bytes_of({0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0x4C, 0x7D}), ".1#"},
        NumberCase{0x1F, bytes_of({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), "0#"},
        NumberCase{0x1F, bytes_of({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x60}), "0#"},
        NumberCase{0x1F, bytes_of({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x81}), "-1.5#"},
        NumberCase{0x1F, bytes_of({0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB8}), "36028797018963968#"},
        NumberCase{0x1F, bytes_of({0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB8}), "36028797018963976#"}));

TEST(BinSaveNumberKinds, KindsWithoutLayoutFail)
{
    const std::string bytes = bytes_of({0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    for (int marker : {0x00, 0x0A, 0x0D, 0x1A, 0x1B, 0x1E, 0x20, 0x41, 0x80, 0xFF}) {
        int64_t pos = 2;
        EXPECT_THROW(BinSaveDecodeNum(bytes, &pos, static_cast<unsigned char>(marker)), int) << marker;
        EXPECT_EQ(pos, 2);
    }
}

}  // namespace
