// The drive devices: drive folders, drive lamps and the file slots of TBasicRsrc.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>

#include "machine/devices/BasicRsrc.h"
#include "machine/files/DriveFolders.h"
#include "machine/files/DriveLamps.h"
#include "machine/host/HeadlessHost.h"
#include "tests/machine/files/FilesTestSupport.h"

namespace {

class TStepClock : public THostClock {
public:
    int64_t NowMicros() const override { return mNow.load(); }
    void SleepMicros(int64_t) const override {}
    void Set(int64_t now) { mNow.store(now); }

private:
    std::atomic<int64_t> mNow{0};
};

// Counts the requests as they arrive, besides the lamp counters.
class TCountingLamps : public THeadlessDriveLamps {
public:
    void SetFDDAccessLampRqtd(int drvFolderIdx, int delta) override
    {
        if (delta > 0) ++mLit;
        THeadlessDriveLamps::SetFDDAccessLampRqtd(drvFolderIdx, delta);
    }
    int Lit() const { return mLit.load(); }

private:
    std::atomic<int> mLit{0};
};

TEST(DriveFolders, SetGetEjectAndBadIndexes)
{
    TDriveFolders folders;
    for (int i = 0; i < TDriveFolders::COUNT; ++i) EXPECT_EQ(folders.Get(i), "") << i;
    EXPECT_TRUE(folders.Set(0, "/a"));
    EXPECT_TRUE(folders.Set(13, "/n"));
    EXPECT_FALSE(folders.Set(14, "/x"));
    EXPECT_FALSE(folders.Set(-1, "/x"));
    EXPECT_EQ(folders.Get(0), "/a");
    EXPECT_EQ(folders.Get(13), "/n");
    EXPECT_EQ(folders.Get(14), "");
    for (int i = 1; i < 13; ++i) EXPECT_EQ(folders.Get(i), "") << i;
    EXPECT_TRUE(folders.Eject(0));
    EXPECT_EQ(folders.Get(0), "");
    EXPECT_FALSE(folders.Eject(14));
}

TEST(DriveFolders, ReaderNeverSeesHalfAPath)
{
    TDriveFolders folders;
    const std::string a(300, 'a');
    const std::string b(700, 'b');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop.load(); ++i) folders.Set(1, i % 2 ? a : b);
    });
    for (int i = 0; i < 20000; ++i) {
        const std::string got = folders.Get(1);
        ASSERT_TRUE(got.empty() || got == a || got == b);
    }
    stop = true;
    writer.join();
}

class DriveLamps : public ::testing::Test {
protected:
    DriveLamps() { control.SetClock(&clock); }
    TStepClock clock;
    TCountingLamps lamps;
    TDriveLampControl control;
};

TEST_F(DriveLamps, OneRequestPerTenthOfASecondAndOutAfterTwoTenths)
{
    clock.Set(0);
    control.Request(0, &lamps);
    EXPECT_EQ(lamps.Lamp(0), 1);
    clock.Set(99999);
    control.Request(0, &lamps);  // within 0.1 s of the last one: dropped
    EXPECT_EQ(lamps.Lit(), 1);
    EXPECT_EQ(lamps.Lamp(0), 1);
    clock.Set(199999);
    control.SendDue();
    EXPECT_EQ(lamps.Lamp(0), 1);
    clock.Set(200000);
    control.SendDue();
    EXPECT_EQ(lamps.Lamp(0), 0);
}

TEST_F(DriveLamps, OverlappingRequestsKeepTheLampLit)
{
    clock.Set(1000);
    control.Request(1, &lamps);
    clock.Set(101000);
    control.Request(1, &lamps);
    EXPECT_EQ(lamps.Lamp(1), 2);
    clock.Set(201000);
    control.SendDue();
    EXPECT_EQ(lamps.Lamp(1), 1);
    clock.Set(301000);
    control.SendDue();
    EXPECT_EQ(lamps.Lamp(1), 0);
    EXPECT_EQ(lamps.Lit(), 2);
}

TEST_F(DriveLamps, DrivesWithoutALampAndTheirOwnIntervals)
{
    for (long drive : {-1L, 2L, 5L, 13L, 14L}) control.Request(drive, &lamps);
    EXPECT_EQ(lamps.Lit(), 0);
    for (int i = 0; i < 14; ++i) EXPECT_EQ(lamps.Lamp(i), 0);
    // Each lamp drive keeps its own interval.
    control.Request(0, &lamps);
    control.Request(1, &lamps);
    EXPECT_EQ(lamps.Lamp(0), 1);
    EXPECT_EQ(lamps.Lamp(1), 1);
    control.Request(0, nullptr);  // no host: nothing, no crash
}

TEST(DriveLampsTimer, TheTimerPutsTheLampOut)
{
    TCountingLamps lamps;
    {
        TDriveLampControl control;
        control.Request(0, &lamps);
        EXPECT_EQ(lamps.Lit(), 1);
        // The lamp goes out by itself; the wait is generous, only its end is checked.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (lamps.Lamp(0) != 0 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(lamps.Lamp(0), 0);
    }
    // Destroying the control with a pending −1 stops its thread cleanly.
    TDriveLampControl control;
    control.Request(1, &lamps);
}

TEST(BasicRsrcFiles, LampOfAFileFollowsItsDriveAndCloseAll)
{
    TTempDriveTree tree;
    // The host and the clock outlive the devices, whose lamp timer uses them.
    TCountingLamps lamps;
    TStepClock clock;
    TBasicRsrc rsrc;
    TDeviceHost host;
    host.Lamps = &lamps;
    rsrc.SetOwner(host);
    rsrc.DrvLamps.SetClock(&clock);

    TTempDriveTree::WriteFile(tree.InDrive("A"), "x");
    ASSERT_EQ(rsrc.OpenFiles[2].SetTo(tree.InDrive("A").c_str(), O_RDONLY), 0);
    rsrc.OpenFiles[2].SetDrvIdx(1);
    rsrc.SetFDDAccessLampByFileDesc(3);
    EXPECT_EQ(lamps.Lamp(1), 1);
    EXPECT_EQ(lamps.Lamp(0), 0);
    // Closed slots and bad numbers light nothing.
    clock.Set(1000000);
    for (long n : {0L, 1L, 16L}) rsrc.SetFDDAccessLampByFileDesc(n);
    EXPECT_EQ(lamps.Lit(), 1);

    ASSERT_EQ(rsrc.OpenFiles[14].SetTo(tree.InDrive("A").c_str(), O_RDONLY), 0);
    rsrc.CloseAllFiles();
    for (const TKivoFile& f : rsrc.OpenFiles) EXPECT_FALSE(f.IsOpen());
}

}  // namespace
