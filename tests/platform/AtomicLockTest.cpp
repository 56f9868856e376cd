#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/Atomic.h"
#include "platform/RecursiveLock.h"

using namespace platform;

TEST(PlatformAtomic, OrAndAndReturnThePreviousValue)
{
    std::atomic<int32_t> word{0x10};
    EXPECT_EQ(atomic_or(word, 0x01), 0x10);
    EXPECT_EQ(word.load(), 0x11);
    EXPECT_EQ(atomic_and(word, ~0x10), 0x11);
    EXPECT_EQ(word.load(), 0x01);
}

TEST(PlatformAtomic, BitsSetByManyThreadsAreAllKept)
{
    std::atomic<uint32_t> word{0};
    std::vector<std::thread> threads;
    for (int bit = 0; bit < 32; ++bit)
        threads.emplace_back([&word, bit] {
            for (int i = 0; i < 1000; ++i) {
                atomic_or(word, 1u << bit);
                atomic_and(word, ~(1u << bit));
            }
            atomic_or(word, 1u << bit);
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(word.load(), 0xFFFFFFFFu);
}

TEST(PlatformAtomic, CopyableAtomicCopiesItsValue)
{
    CopyableAtomic<int64_t> a = 5;
    CopyableAtomic<int64_t> b = a;
    a = 9;
    EXPECT_EQ(static_cast<int64_t>(b), 5);
    b = a;
    EXPECT_EQ(static_cast<int64_t>(b), 9);
}

TEST(PlatformRecursiveLock, TheOwnerMayLockAgainOthersWait)
{
    RecursiveLock lock;
    EXPECT_FALSE(lock.IsLocked());
    lock.Lock();
    lock.Lock();
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_EQ(lock.CountLocks(), 2);

    status_t other = kOk;
    bool otherSawLocked = true;
    std::thread([&] {
        other = lock.LockWithTimeout(1000);
        otherSawLocked = lock.IsLocked();
        lock.Unlock();  // not the owner: ignored
    }).join();
    EXPECT_EQ(other, kTimedOut);
    EXPECT_FALSE(otherSawLocked);
    EXPECT_EQ(lock.CountLocks(), 2);

    lock.Unlock();
    lock.Unlock();
    EXPECT_FALSE(lock.IsLocked());
    std::thread([&] {
        other = lock.LockWithTimeout(1000000);
        lock.Unlock();
    }).join();
    EXPECT_EQ(other, kOk);
}
