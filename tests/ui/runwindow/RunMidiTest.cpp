// The run window's MIDI: the player plays through the connected consumers, the
// connections follow "CoMO" at start, roster notices and 'pmoc' relayed by the window,
// 'ummr' and 'rmmc' reach the application, and PEEK sees whether anything listens.

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <mutex>
#include <vector>

#include "foundation/Common.h"
#include "machine/music/MidiRecorder.h"
#include "platform/Looper.h"
#include "tests/foundation/SettingsTestSupport.h"
#include "tests/ui/runwindow/FakeRunMidiPorts.h"
#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/runwindow/RunWindow.h"

using namespace run_window_testing;
using platform::FakeMidiRoster;
using platform::midi_endpoint_id;

namespace {

constexpr int32_t kSynthA = midi_endpoint_id(130, 0);
constexpr int32_t kSynthB = midi_endpoint_id(131, 0);
constexpr int32_t kOtherProducer = midi_endpoint_id(129, 0);

// Stands for the application: keeps what the run view sends it.
class AppRecorder : public platform::Looper {
public:
    AppRecorder() : platform::Looper("app recorder") { Run(); }
    ~AppRecorder() override { Quit(); }
    void MessageReceived(platform::Message* message) override
    {
        std::lock_guard<std::mutex> lock(mLock);
        mReceived.push_back(*message);
    }
    std::vector<platform::Message> Received() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mReceived;
    }

private:
    mutable std::mutex mLock;
    std::vector<platform::Message> mReceived;
};

class RunMidi : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        savedOutputs = gPrefs.MidiOutputs();
        roster.AddConsumer(kSynthA, "Synth A");
        roster.AddConsumer(kSynthB, "Synth B");
        roster.TakeNotices();
    }
    void TearDown() override
    {
        if (window) window->RunView()->Session().KillBasic();
        window.reset();
        gPrefs.SetMidiOutputs(savedOutputs);
        SettingsDirFixture::TearDown();
    }
    void Open(const std::vector<std::string>& outputs)
    {
        gPrefs.SetMidiOutputs(outputs);
        window = std::make_unique<TRunWindow>(platform::Rect{20, 40, 300, 300}, &alerts,
                                              fake_run_midi_ports(roster, recorder));
        window->SetApplicationTarget(platform::Messenger(app.get()));
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        Deliver();
    }
    // Hands the roster's notices to the view as its messages, as the roster would.
    void Deliver()
    {
        for (const platform::Message& notice : roster.TakeNotices()) window->PostMessage(notice, window->RunView());
        for (int i = 0; i < 5; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    bool AppGot(uint32_t what, int32_t id = -1) const
    {
        for (const platform::Message& message : app->Received()) {
            int32_t got = -1;
            if (message.what == what && (id < 0 || (message.FindInt32("be:id", &got) == platform::kOk && got == id)))
                return true;
        }
        return false;
    }

    std::vector<std::string> savedOutputs;
    FakeMidiRoster roster;
    TMidiRecorder recorder;
    TRecordingAlertSink alerts;
    std::unique_ptr<AppRecorder> app = std::make_unique<AppRecorder>();
    std::unique_ptr<TRunWindow> window;
};

TEST_F(RunMidi, StartConnectsTheListedConsumerAndTheMusicReachesIt)
{
    Open({"Synth B"});
    EXPECT_TRUE(roster.IsConnected(kSynthB));
    EXPECT_FALSE(roster.IsConnected(kSynthA));
    ASSERT_TRUE(start_run(*window->RunView(), "10 PRINT PEEK(&HA3FEE)\n20 PLAY \"T240L16CDE\"\n"));
    ASSERT_TRUE(wait_until([&] { return window->RunView()->RunEnded(); }));
    EXPECT_TRUE(screen_shows(*window->RunView(), " 8")) << screen_of(*window->RunView());
    ASSERT_TRUE(recorder.WaitForCount(6, std::chrono::seconds(20)));
    int noteOns = 0;
    for (const TMidiEvent& event : recorder.Events()) noteOns += event.kind == TMidiEvent::Kind::NoteOn;
    EXPECT_EQ(noteOns, 3);
}

TEST_F(RunMidi, PeekSeesNoOutputWhenNothingIsConnected)
{
    Open({});
    EXPECT_FALSE(roster.IsConnected(kSynthA));
    ASSERT_TRUE(start_run(*window->RunView(), "10 PRINT PEEK(&HA3FEE);\"END\"\n"));
    ASSERT_TRUE(wait_until([&] { return screen_shows(*window->RunView(), " 0 END"); }))
        << screen_of(*window->RunView());
}

TEST_F(RunMidi, AConnectionMadeElsewhereEntersTheListAndTheApplicationHearsOfIt)
{
    Open({});
    roster.ConnectFrom(FakeMidiRoster::kOurProducer, kSynthA);
    Deliver();
    EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth A"});
    ASSERT_TRUE(wait_until([&] { return AppGot(kUpdateMenuMidiOutRqtd, kSynthA); }));
    TPrefs saved;
    ASSERT_EQ(saved.LoadFromFile(), 0);
    EXPECT_EQ(saved.MidiOutputs(), std::vector<std::string>{"Synth A"});

    // Another producer's connections are none of ours.
    roster.ConnectFrom(kOtherProducer, kSynthB);
    Deliver();
    EXPECT_EQ(gPrefs.MidiOutputs(), std::vector<std::string>{"Synth A"});
}

TEST_F(RunMidi, ALaterSynthesizerNamedInTheListIsConnectedWhenItRegisters)
{
    Open({"Late Synth"});
    const int32_t late = midi_endpoint_id(140, 0);
    roster.AddConsumer(late, "Late Synth");
    Deliver();
    EXPECT_TRUE(roster.IsConnected(late));
    ASSERT_TRUE(wait_until([&] { return AppGot(kRecreateMenuMidiOutRqtd); }));
}

TEST_F(RunMidi, PmocRelayedByTheWindowReconnectsAndSilencesTheRemovedConsumer)
{
    Open({"Synth A"});
    ASSERT_TRUE(roster.IsConnected(kSynthA));
    roster.TakeSent();
    gPrefs.SetMidiOutputs({"Synth B"});
    platform::Message changed(kPrefMidiOutChanged);
    changed.AddInt32("be:id", kSynthA);
    changed.AddBool("MODis", true);
    window->PostMessage(changed);
    ASSERT_TRUE(wait_until([&] { return roster.IsConnected(kSynthB); }));
    EXPECT_FALSE(roster.IsConnected(kSynthA));
    const std::vector<FakeMidiRoster::SentControl> sent = roster.TakeSent();
    ASSERT_EQ(sent.size(), 48u);
    for (const FakeMidiRoster::SentControl& control : sent) EXPECT_EQ(control.consumer, kSynthA);
}

}  // namespace
