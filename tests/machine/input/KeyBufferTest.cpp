// The emulated keyboard's queue: its size limit, the translation of key codes, the
// function-key strings, and the waits of the machine thread.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "machine/devices/BasicRsrc.h"
#include "machine/host/HostInterfaces.h"
#include "machine/input/KeyBuffer.h"

namespace {

// A clock whose sleeps only advance its own time, so that waits run without waiting.
class TFakeClock : public THostClock {
public:
    int64_t NowMicros() const override { return mNow; }
    void SleepMicros(int64_t micros) const override
    {
        mNow += micros;
        ++mSleeps;
    }
    mutable int64_t mNow = 1000000;
    mutable int mSleeps = 0;
};

std::string pop_all(TKeyBuffer& keys)
{
    std::string all;
    for (std::string key; !(key = keys.PopWithTimeout(0, nullptr, nullptr)).empty();) all += key + "|";
    return all;
}

TEST(KeyBuffer, HoldsSixteenKeysAndDropsTheRest)
{
    TKeyBuffer keys;
    for (int i = 0; i < 17; ++i) {
        const char c = static_cast<char>('a' + i);
        keys.Push(&c, 1);
    }
    EXPECT_EQ(keys.Size(), 16u);
    EXPECT_EQ(pop_all(keys), "a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|");
}

TEST(KeyBuffer, TranslatesThePlatformsKeyCodes)
{
    struct Case {
        char platform;
        char entry;
    };
    const Case cases[] = {
        {0x01, 0x0C},
        {0x04, 0x01},
        {0x05, 0x12},
        {0x0A, 0x0D},
        {0x0B, static_cast<char>(0xF9)},
        {0x0C, static_cast<char>(0xF8)},
        {0x1C, 0x1D},
        {0x1D, 0x1C},
        // kept as they come
        {0x1E, 0x1E},
        {0x1F, 0x1F},
        {0x08, 0x08},
        {0x7F, 0x7F},
        {0x09, 0x09},
        {0x1B, 0x1B},
        {'x', 'x'},
    };
    for (const Case& c : cases) {
        TKeyBuffer keys;
        keys.Push(&c.platform, 1);
        EXPECT_EQ(keys.PopWithTimeout(0, nullptr, nullptr), std::string(1, c.entry))
            << "platform key " << static_cast<int>(c.platform);
    }
}

TEST(KeyBuffer, AMultiByteKeyIsOneEntryWithOnlyItsFirstByteTranslated)
{
    TKeyBuffer keys;
    keys.Push("漢", 3);
    keys.Push("\x0A\x0A", 2);
    keys.Push("abcdef", 6);  // longer than any key: cut, nothing written past the entry
    EXPECT_EQ(keys.Size(), 3u);
    EXPECT_EQ(keys.PopWithTimeout(0, nullptr, nullptr), "漢");
    EXPECT_EQ(keys.PopWithTimeout(0, nullptr, nullptr), "\x0D\x0A");
    EXPECT_EQ(keys.PopWithTimeout(0, nullptr, nullptr), "abc");
    keys.Push(nullptr, 1);
    keys.Push("a", 0);
    EXPECT_EQ(keys.Size(), 0u);
}

// An entry never holds part of a character: a four-byte character is longer than any
// entry and is dropped whole; a longer key keeps the whole characters that fit.
TEST(KeyBuffer, AKeyKeepsWholeCharactersOnly)
{
    struct Case {
        std::string given;
        std::string entry;  // empty: nothing queued
    };
    const Case cases[] = {
        {"\U0001F600", ""},       {"\U00020BB7", ""},  // a kanji beyond the basic plane
        {"a\U0001F600", "a"},     {"ab漢", "ab"},
        {"\xE6\xBC", "\xE6\xBC"},  // bytes that spell no character are one unit each
    };
    for (const Case& c : cases) {
        TKeyBuffer keys;
        keys.Push(c.given.data(), static_cast<long>(c.given.size()));
        EXPECT_EQ(pop_all(keys), c.entry.empty() ? "" : c.entry + "|") << c.given;
    }
}

TEST(KeyBuffer, FunctionKeysTypeTheirStringsOneByteAnEntry)
{
    TBasicRsrc rsrc;
    EXPECT_EQ(rsrc.FuncKeyStr(1), "load \"");
    EXPECT_EQ(rsrc.FuncKeyStr(10), "cont\r");
    rsrc.PushFuncKeyStr(5);
    EXPECT_EQ(pop_all(rsrc.KeyBuffer), "r|u|n|\r|");

    rsrc.SetFuncKeyStr(2, "漢");
    rsrc.PushFuncKeyStr(2);
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 3u);
    EXPECT_EQ(pop_all(rsrc.KeyBuffer), "\xE6|\xBC|\xA2|");

    rsrc.SetFuncKeyStr(1, "");
    rsrc.PushFuncKeyStr(1);
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 0u);

    // A string longer than the queue's room fills it and loses the rest.
    rsrc.SetFuncKeyStr(3, std::string(20, 'z'));
    rsrc.PushFuncKeyStr(3);
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 16u);

    // Key numbers outside 1 to 10 neither change nor type anything.
    rsrc.ClearKeyBuf();
    rsrc.SetFuncKeyStr(11, "x");
    rsrc.PushFuncKeyStr(0);
    EXPECT_EQ(rsrc.FuncKeyStr(11), "");
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 0u);
}

TEST(KeyBuffer, PopWithTimeoutWaitsInStepsAndGivesUp)
{
    TKeyBuffer keys;
    TFakeClock clock;
    EXPECT_EQ(keys.PopWithTimeout(0, &clock, nullptr), "");
    EXPECT_EQ(clock.mSleeps, 0) << "a timeout of 0 does not sleep";

    const int64_t before = clock.mNow;
    EXPECT_EQ(keys.PopWithTimeout(3000000, &clock, nullptr), "");
    EXPECT_GE(clock.mNow - before, 3000000);
    EXPECT_LT(clock.mNow - before, 3000000 + TKeyBuffer::POLL_MICROS);

    keys.Push("k", 1);
    EXPECT_EQ(keys.PopWithTimeout(3000000, &clock, nullptr), "k");
}

TEST(KeyBuffer, WaitsEndWhenTheMachineIsToldToStop)
{
    TKeyBuffer keys;
    TFakeClock clock;
    std::atomic<bool> stop{true};
    EXPECT_EQ(keys.Pop(&clock, &stop), "\r");
    EXPECT_EQ(keys.PopWithTimeout(100000000, &clock, &stop), "");
    // A queued key still comes first.
    keys.Push("q", 1);
    EXPECT_EQ(keys.Pop(&clock, &stop), "q");
}

TEST(KeyBuffer, KeysPushedOnOneThreadArriveInOrderOnAnother)
{
    TBasicRsrc rsrc;
    constexpr int COUNT = 300;
    std::thread window([&] {
        for (int i = 0; i < COUNT; ++i) {
            while (rsrc.KeyBuffer.Size() >= TKeyBuffer::CAPACITY) std::this_thread::yield();
            const char c = static_cast<char>('A' + i % 26);
            rsrc.PushToKeyBuf(&c, 1);
        }
    });
    std::string got;
    for (int i = 0; i < COUNT; ++i) got += rsrc.PopFromKeyBuf();
    window.join();
    ASSERT_EQ(got.size(), static_cast<size_t>(COUNT));
    for (int i = 0; i < COUNT; ++i) ASSERT_EQ(got[static_cast<size_t>(i)], static_cast<char>('A' + i % 26)) << i;
}

}  // namespace
