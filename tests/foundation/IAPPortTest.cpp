#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <thread>

#include "IAPTestSupport.h"
#include "SettingsTestSupport.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "foundation/IAPPort.h"
#include "foundation/IAPPortManager.h"
#include "foundation/InterAppPrefs.h"
#include "platform/LocalPort.h"

namespace {

constexpr uint32_t kActivate = platform::fourcc("iawr");
constexpr uint32_t kComponents = platform::fourcc("iacr");
constexpr uint32_t kQuit = platform::fourcc("_QRQ");

// A stand-in for the shared-preferences window: its view logs what arrives, and
// its port thread runs from the first showing.
struct FakeWindow {
    FakeWindow() : port(platform::Messenger(&view.log)) { port.Resume(); }
    ~FakeWindow()
    {
        port.Terminate();
        port.PreventBlocking();
        port.Wait(nullptr);
    }
    LoggingLooper view;
    TIAPPortManager port;
};

class IAPPortFixture : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        ports = std::make_unique<PortNameScope>();
        registry.SetAppSignatureRef("application/x-vnd.TAVREN-KivoBASIC");
        registry.AddItem(new TIAPItemAccKeyFormat);
        registry.AddItem(new TIAPItemFlatToolBar);
        registry.SetWindowMaker([this](const platform::Rect&) {
            ++windowsMade;
            windows.push_back(std::make_unique<FakeWindow>());
            return TIAPLocalWindow{windows.back()->port.Port(), platform::Messenger(&windows.back()->view.log)};
        });
    }
    void TearDown() override
    {
        windows.clear();
        ports.reset();
        SettingsDirFixture::TearDown();
    }

    std::unique_ptr<PortNameScope> ports;
    TInterAppPrefs registry;
    std::vector<std::unique_ptr<FakeWindow>> windows;
    int windowsMade = 0;
};

}  // namespace

TEST_F(IAPPortFixture, MessagesFromAnotherThreadArriveInOrderAndGarbageIsDropped)
{
    FakeWindow window;
    ASSERT_GE(window.port.Port(), 0);
    std::thread writer([] {
        int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
        ASSERT_GE(port, 0);
        for (int32_t i = 0; i < 50; ++i) {
            if (i == 10) {
                ASSERT_EQ(platform::write_port(port, 0, "not a flattened message", kIAPSendTimeout), platform::kOk);
            }
            if (i == 20) {
                ASSERT_EQ(platform::write_port(port, 0, "", kIAPSendTimeout), platform::kOk);
            }
            platform::Message message(platform::fourcc("numb"));
            message.AddInt32("n", i);
            ASSERT_EQ(iap_write_message(port, message), platform::kOk);
        }
        platform::close_port(port);
    });
    writer.join();
    ASSERT_TRUE(window.view.log.WaitFor(50));
    window.view.Settle();
    std::vector<platform::Message> seen = window.view.log.Messages();
    ASSERT_EQ(seen.size(), 51u) << "garbage and empty records are not forwarded";
    for (int32_t i = 0; i < 50; ++i) {
        int32_t n = -1;
        seen[static_cast<size_t>(i)].FindInt32("n", &n);
        EXPECT_EQ(n, i);
    }
}

TEST_F(IAPPortFixture, StoppingEndsThePortThreadAndFreesTheName)
{
    auto window = std::make_unique<FakeWindow>();
    EXPECT_EQ(TIAPPortManager(platform::Messenger()).Port(), kIAPPortFailed) << "the name has one owner";
    int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
    ASSERT_GE(port, 0);
    platform::close_port(port);
    window->port.Terminate();
    window->port.PreventBlocking();
    int32_t exitValue = -7;
    EXPECT_EQ(window->port.Wait(&exitValue), 0);
    EXPECT_EQ(exitValue, 0);
    EXPECT_TRUE(window->port.IsTerminated());
    EXPECT_EQ(platform::find_port(iap_port_name(), kIAPSendTimeout), platform::kNameNotFound);
}

TEST_F(IAPPortFixture, ThePortThreadEndsAtOnceWhenItsPortCouldNotBeMade)
{
    int squatter = platform::create_port(iap_port_name());
    ASSERT_GE(squatter, 0);
    TIAPPortManager manager{platform::Messenger()};
    EXPECT_EQ(manager.Port(), kIAPPortFailed);
    manager.Resume();
    int32_t exitValue = 0;
    manager.Wait(&exitValue);
    EXPECT_EQ(exitValue, -1);
    platform::close_port(squatter);
}

TEST_F(IAPPortFixture, TheFirstShowMakesTheWindowHereAndLaterOnesGoThroughItsPort)
{
    EXPECT_EQ(registry.CloseWindow(true), 0) << "nothing to close";
    EXPECT_FALSE(registry.WindowOpened());

    registry.ShowWindow({100, 100, 400, 142});
    ASSERT_EQ(windowsMade, 1);
    EXPECT_TRUE(registry.WindowOpened());
    LoggingLooper& view = windows[0]->view;
    ASSERT_TRUE(view.log.WaitFor(1));
    EXPECT_EQ(view.log.Codes(), std::vector<uint32_t>{kComponents});
    EXPECT_EQ(view.log.Messages()[0].FieldNames(), (std::vector<std::string>{"AccKeyFormat2", "FlatToolBar"}));

    registry.ShowWindow({0, 0, 10, 10});
    EXPECT_EQ(windowsMade, 1);
    ASSERT_TRUE(view.log.WaitFor(3));
    EXPECT_EQ(view.log.Codes(), (std::vector<uint32_t>{kComponents, kActivate, kComponents}));

    EXPECT_EQ(registry.CloseWindow(false), 0);
    ASSERT_TRUE(view.log.WaitFor(4));
    EXPECT_EQ(view.log.Codes().back(), kQuit);
    int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
    EXPECT_GE(port, 0) << "closing keeps the port";
    platform::close_port(port);
}

TEST_F(IAPPortFixture, OnlyTheOpenerClosesWithoutForce)
{
    FakeWindow elsewhere;  // a window that this registry did not make
    EXPECT_EQ(registry.CloseWindow(false), -1);
    EXPECT_EQ(registry.CloseWindow(true), 0);
    ASSERT_TRUE(elsewhere.view.log.WaitFor(1));
    elsewhere.view.Settle();
    EXPECT_EQ(elsewhere.view.log.Codes(), (std::vector<uint32_t>{kQuit, platform::fourcc("mark")}));
}

// An owner that takes no connection: after the send time-out it counts as gone, a
// window is made here once, and later requests reach it in-process.
TEST_F(IAPPortFixture, AHungOwnerLeadsToOneLocalWindowFedInProcess)
{
    int hung = platform::create_port(iap_port_name());
    ASSERT_GE(hung, 0);
    std::vector<int> backlog;
    for (int i = 0; i < 64; ++i) {
        int fd = platform::find_port(iap_port_name(), 1000);
        if (fd < 0) break;
        backlog.push_back(fd);
    }
    ASSERT_EQ(platform::find_port(iap_port_name(), 1000), platform::kTimedOut);

    registry.ShowWindow({0, 0, 10, 10});
    registry.ShowWindow({0, 0, 10, 10});
    EXPECT_EQ(windowsMade, 1) << "one window, reused";
    LoggingLooper& view = windows[0]->view;
    ASSERT_TRUE(view.log.WaitFor(3));
    EXPECT_EQ(view.log.Codes(), (std::vector<uint32_t>{kComponents, kActivate, kComponents}));

    for (int fd : backlog) platform::close_port(fd);
    platform::close_port(hung);
}

TEST_F(IAPPortFixture, BroadcastNoticesReachTheInboxAndNothingElseDoes)
{
    LoggingLooper application;
    TIAPInbox inbox{platform::Messenger(&application.log)};
    ASSERT_GE(inbox.Port(), 0);
    inbox.Resume();

    platform::Message notice(platform::fourcc("_ipc"));
    notice.AddString("IAP:SrcIAPItem", "FlatToolBar");
    notice.AddBool("FlatToolBar", false);
    EXPECT_GE(iap_broadcast(platform::Message(platform::fourcc("iawr"))), 1);
    EXPECT_GE(iap_broadcast(notice), 1);
    ASSERT_TRUE(application.log.WaitFor(1));
    application.Settle();
    EXPECT_EQ(application.log.Codes(), (std::vector<uint32_t>{platform::fourcc("_ipc"), platform::fourcc("mark")}));

    inbox.Terminate();
    inbox.PreventBlocking();
    inbox.Wait(nullptr);
    EXPECT_EQ(iap_broadcast(notice), 0) << "no inbox is left";
}
