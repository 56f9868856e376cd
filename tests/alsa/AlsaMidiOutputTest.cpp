// The ALSA sequencer output. The tests that need a sequencer skip where /dev/snd/seq is
// absent; there the output must still be safe to use and report no outputs.

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/alsa/AlsaMidiOutput.h"

namespace {

using platform::AlsaMidiOutput;
using platform::MidiDestination;

bool HaveSequencer()
{
    return access("/dev/snd/seq", F_OK) == 0;
}

int64_t SteadyMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A second client with one port that the output can be connected to.
class Receiver {
public:
    Receiver()
    {
        if (!HaveSequencer()) return;
        if (snd_seq_open(&mSeq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
            mSeq = nullptr;
            return;
        }
        snd_seq_set_client_name(mSeq, "Kivo test receiver");
        mPort = snd_seq_create_simple_port(mSeq, "Kivo test in", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    }
    ~Receiver()
    {
        if (mSeq != nullptr) snd_seq_close(mSeq);
    }

    bool IsOpen() const { return mSeq != nullptr && mPort >= 0; }
    MidiDestination Address() const { return {snd_seq_client_id(mSeq), mPort, "Kivo test in"}; }

    // The next event other than subscription notices, or nothing within two seconds.
    std::optional<snd_seq_event_t> Next(std::vector<uint8_t>* sysex = nullptr)
    {
        const int64_t until = SteadyMicros() + 2000000;
        while (SteadyMicros() < until) {
            snd_seq_event_t* ev = nullptr;
            const int got = snd_seq_event_input(mSeq, &ev);
            if (got >= 0 && ev != nullptr) {
                if (ev->type == SND_SEQ_EVENT_PORT_SUBSCRIBED || ev->type == SND_SEQ_EVENT_PORT_UNSUBSCRIBED) continue;
                if (sysex != nullptr && ev->type == SND_SEQ_EVENT_SYSEX) {
                    const auto* bytes = static_cast<const uint8_t*>(ev->data.ext.ptr);
                    sysex->assign(bytes, bytes + ev->data.ext.len);
                }
                return *ev;
            }
            pollfd fd{};
            snd_seq_poll_descriptors(mSeq, &fd, 1, POLLIN);
            poll(&fd, 1, 50);
        }
        return std::nullopt;
    }

private:
    snd_seq_t* mSeq = nullptr;
    int mPort = -1;
};

TEST(AlsaMidiOutputWithoutSequencer, HasNoOutputsAndIgnoresMessages)
{
    if (HaveSequencer()) GTEST_SKIP() << "a sequencer is present";
    AlsaMidiOutput output;
    EXPECT_FALSE(output.IsOpen());
    EXPECT_TRUE(output.Destinations().empty());
    EXPECT_TRUE(output.OutputNames().empty());
    EXPECT_EQ(output.Connections(), 0);
    EXPECT_FALSE(output.Connect({128, 0, "anything"}));
    output.NoteOn(0, 60, 100, 0);
    output.SystemExclusive({0x7E, 0x7F, 0x09, 0x01}, 0);
}

class AlsaMidiOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveSequencer()) GTEST_SKIP() << "no /dev/snd/seq";
        ASSERT_TRUE(output.IsOpen());
        ASSERT_TRUE(receiver.IsOpen());
    }

    AlsaMidiOutput output;
    Receiver receiver;
};

TEST_F(AlsaMidiOutputTest, OffersItsPortByNameAndCountsConnections)
{
    snd_seq_t* seq = nullptr;
    ASSERT_GE(snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0), 0);
    snd_seq_port_info_t* info;
    snd_seq_port_info_alloca(&info);
    ASSERT_GE(snd_seq_get_any_port_info(seq, output.ClientId(), output.PortId(), info), 0);
    EXPECT_STREQ(snd_seq_port_info_get_name(info), "Kivo-BASIC OUT");
    snd_seq_close(seq);

    const MidiDestination in = receiver.Address();
    const std::vector<MidiDestination> destinations = output.Destinations();
    EXPECT_NE(std::find(destinations.begin(), destinations.end(), in), destinations.end());

    EXPECT_EQ(output.Connections(), 0);
    EXPECT_FALSE(output.IsConnected(in));
    ASSERT_TRUE(output.Connect(in));
    EXPECT_EQ(output.Connections(), 1);
    EXPECT_TRUE(output.IsConnected(in));
    ASSERT_TRUE(output.Disconnect(in));
    EXPECT_EQ(output.Connections(), 0);
}

TEST_F(AlsaMidiOutputTest, MessagesArriveWithTheirData)
{
    ASSERT_TRUE(output.Connect(receiver.Address()));
    output.NoteOn(1, 72, 64, 0);
    output.NoteOff(1, 72, 64, 0);
    output.ProgramChange(2, 80, 0);
    output.ControlChange(3, 123, 0, 0);
    output.SystemExclusive({0x7E, 0x7F, 0x09, 0x01}, 0);

    std::optional<snd_seq_event_t> ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_NOTEON);
    EXPECT_EQ(ev->data.note.channel, 1);
    EXPECT_EQ(ev->data.note.note, 72);
    EXPECT_EQ(ev->data.note.velocity, 64);
    ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_NOTEOFF);
    ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_PGMCHANGE);
    EXPECT_EQ(ev->data.control.channel, 2);
    EXPECT_EQ(ev->data.control.value, 80);
    ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_CONTROLLER);
    EXPECT_EQ(ev->data.control.param, 123u);
    std::vector<uint8_t> sysex;
    ev = receiver.Next(&sysex);
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_SYSEX);
    EXPECT_EQ(sysex, (std::vector<uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
}

TEST_F(AlsaMidiOutputTest, StampedMessagesWaitForTheirTime)
{
    ASSERT_TRUE(output.Connect(receiver.Address()));
    // Sent first but stamped later: it arrives after the message sent at once.
    output.NoteOn(0, 60, 100, SteadyMicros() + 300000);
    output.ControlChange(0, 7, 90, 0);
    std::optional<snd_seq_event_t> ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_CONTROLLER);
    ev = receiver.Next();
    ASSERT_TRUE(ev);
    EXPECT_EQ(ev->type, SND_SEQ_EVENT_NOTEON);
}

}  // namespace
