// The ALSA roster, alone and under the run view's connections. The tests that need a
// sequencer skip where /dev/snd/seq is absent; there the roster must be empty and safe.

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "foundation/Common.h"
#include "platform/alsa/AlsaMidiOutput.h"
#include "platform/alsa/AlsaMidiRoster.h"
#include "session/AppMessageSink.h"
#include "session/RunMidiConnections.h"
#include "tests/foundation/SettingsTestSupport.h"

namespace {

using platform::AlsaMidiOutput;
using platform::AlsaMidiRoster;
using platform::Message;

bool HaveSequencer()
{
    return access("/dev/snd/seq", F_OK) == 0;
}

class RecordingSink : public TAppMessageSink {
public:
    void Post(const Message& message) override { posted.push_back(message); }
    std::vector<Message> posted;
};

TEST(AlsaMidiRosterWithoutSequencer, IsEmptyAndTheListSurvives)
{
    if (HaveSequencer()) GTEST_SKIP() << "a sequencer is present";
    AlsaMidiOutput output;
    AlsaMidiRoster roster(output);
    EXPECT_FALSE(roster.IsOpen());
    EXPECT_EQ(roster.PollDescriptor(), -1);
    EXPECT_TRUE(roster.ReadNotices().empty());
    EXPECT_TRUE(roster.Consumers().empty());
    EXPECT_EQ(roster.ProducerId(), -1);
    EXPECT_FALSE(roster.Connect(platform::midi_endpoint_id(128, 0)));
    EXPECT_EQ(roster.ProducerConnections(), 0);
    roster.SendControlChange(platform::midi_endpoint_id(128, 0), 0, 123, 0);

    TPrefs prefs;
    prefs.SetMidiOutputs({"Some synth"});
    RecordingSink sink;
    TRunMidiConnections view(roster, prefs, sink);
    EXPECT_EQ(view.ProducerConnections(), 0);
    EXPECT_EQ(prefs.MidiOutputs(), std::vector<std::string>{"Some synth"});
}

// A client with one port that accepts our output, as a synthesizer would.
class Synth {
public:
    static constexpr const char* kName = "Kivo roster test in";

    Synth()
    {
        if (snd_seq_open(&mSeq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
            mSeq = nullptr;
            return;
        }
        snd_seq_set_client_name(mSeq, "Kivo roster test");
        mPort = snd_seq_create_simple_port(mSeq, kName, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    }
    ~Synth()
    {
        if (mSeq != nullptr) snd_seq_close(mSeq);
    }

    bool IsOpen() const { return mSeq != nullptr && mPort >= 0; }
    int32_t Id() const { return platform::midi_endpoint_id(snd_seq_client_id(mSeq), mPort); }

    // Breaks a connection as `aconnect -d` does, from a client that is neither end.
    bool DisconnectFromOutside(int32_t producer) const
    {
        snd_seq_port_subscribe_t* subscription;
        snd_seq_port_subscribe_alloca(&subscription);
        snd_seq_addr_t sender{static_cast<unsigned char>(producer / 256), static_cast<unsigned char>(producer % 256)};
        snd_seq_addr_t dest{static_cast<unsigned char>(Id() / 256), static_cast<unsigned char>(Id() % 256)};
        snd_seq_port_subscribe_set_sender(subscription, &sender);
        snd_seq_port_subscribe_set_dest(subscription, &dest);
        snd_seq_t* outside = nullptr;
        if (snd_seq_open(&outside, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return false;
        const bool done = snd_seq_unsubscribe_port(outside, subscription) >= 0;
        snd_seq_close(outside);
        return done;
    }

    // Whether an all-notes-off arrives within two seconds.
    bool HearsAllNotesOff()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < until) {
            snd_seq_event_t* ev = nullptr;
            if (snd_seq_event_input(mSeq, &ev) >= 0 && ev != nullptr) {
                if (ev->type == SND_SEQ_EVENT_CONTROLLER && ev->data.control.param == 123) return true;
                continue;
            }
            pollfd fd{};
            snd_seq_poll_descriptors(mSeq, &fd, 1, POLLIN);
            poll(&fd, 1, 50);
        }
        return false;
    }

private:
    snd_seq_t* mSeq = nullptr;
    int mPort = -1;
};

// Preferences are saved on every notice about our producer: into a throw-away folder.
class AlsaMidiRosterTest : public SettingsDirFixture {};

TEST_F(AlsaMidiRosterTest, FollowsTheListAndOutsideDisconnection)
{
    if (!HaveSequencer()) GTEST_SKIP() << "no /dev/snd/seq";
    Synth synth;
    AlsaMidiOutput output;
    AlsaMidiRoster roster(output);
    ASSERT_TRUE(synth.IsOpen());
    ASSERT_TRUE(roster.IsOpen());
    ASSERT_GE(roster.PollDescriptor(), 0);

    TPrefs prefs;
    prefs.SetMidiOutputs({Synth::kName});
    RecordingSink sink;
    TRunMidiConnections view(roster, prefs, sink);
    EXPECT_TRUE(roster.IsConnected(synth.Id()));
    EXPECT_EQ(view.ProducerConnections(), 1);

    ASSERT_TRUE(synth.DisconnectFromOutside(roster.ProducerId()));
    bool sawDisconnection = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!sawDisconnection && std::chrono::steady_clock::now() < until) {
        pollfd fd{roster.PollDescriptor(), POLLIN, 0};
        poll(&fd, 1, 50);
        for (const Message& notice : roster.ReadNotices()) {
            int32_t op = 0;
            int32_t consumer = -1;
            notice.FindInt32("be:op", &op);
            notice.FindInt32("be:consumer", &consumer);
            sawDisconnection |= op == platform::kMidiConnectionBroken && consumer == synth.Id();
            view.MidiEvent(notice);
        }
    }
    ASSERT_TRUE(sawDisconnection);
    EXPECT_TRUE(prefs.MidiOutputs().empty());
    EXPECT_EQ(view.ProducerConnections(), 0);
    EXPECT_TRUE(synth.HearsAllNotesOff());
}

}  // namespace
