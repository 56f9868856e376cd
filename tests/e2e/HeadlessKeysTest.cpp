// The keys of kivo-headless: the function-key escape of --keys and the typist that
// feeds a running machine's key buffer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/devices/BasicRsrc.h"
#include "tools/headless/HeadlessOptions.h"
#include "tools/headless/HeadlessTypist.h"

namespace {

TEST(HeadlessKeys, FunctionKeyEscapes)
{
    std::string keys, error;
    ASSERT_TRUE(unescape_keys("a\\F1\\F0\\F9", keys, error)) << error;
    EXPECT_EQ(keys, std::string("a\0\x01\0\x0A\0\x09", 7));
    for (const char* bad : {"\\F", "\\Fx", "a\\F-"}) {
        EXPECT_FALSE(unescape_keys(bad, keys, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(HeadlessKeys, TypistWaitsForRoomAndPressesFunctionKeysOnAnEmptyBuffer)
{
    TBasicRsrc rsrc;
    std::vector<int> pressed;
    std::string keys(18, 'x');
    keys += "漢";
    keys += std::string("\0\x05", 2);
    THeadlessTypist typist(keys, [&](int n) {
        pressed.push_back(n);
        rsrc.PushFuncKeyStr(n);
    });

    typist.TypeInto(rsrc);
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 16u) << "only as many keys as the buffer takes";
    for (int i = 0; i < 16; ++i) rsrc.PopFromKeyBufWithTimeout(0);
    typist.TypeInto(rsrc);
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 3u) << "two x and the kanji; F5 waits for an empty buffer";
    EXPECT_TRUE(pressed.empty());
    rsrc.PopFromKeyBufWithTimeout(0);
    rsrc.PopFromKeyBufWithTimeout(0);
    EXPECT_EQ(rsrc.PopFromKeyBufWithTimeout(0), "漢");
    typist.TypeInto(rsrc);
    EXPECT_TRUE(typist.Done());
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], 5);
    std::string typed;
    for (std::string k; !(k = rsrc.PopFromKeyBufWithTimeout(0)).empty();) typed += k;
    EXPECT_EQ(typed, "run\r");
}

TEST(HeadlessKeys, ACharacterTooLongForAKeyIsDroppedWhole)
{
    TBasicRsrc rsrc;
    THeadlessTypist typist("a\U0001F600b", nullptr);
    typist.TypeInto(rsrc);
    EXPECT_TRUE(typist.Done());
    std::string typed;
    for (std::string k; !(k = rsrc.PopFromKeyBufWithTimeout(0)).empty();) typed += k + "|";
    EXPECT_EQ(typed, "a|b|");
}

}  // namespace
