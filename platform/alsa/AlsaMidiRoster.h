#pragma once
// The MIDI roster on the ALSA sequencer. The consumers are the ports of other
// clients that accept write subscriptions (AlsaMidiOutput::Destinations); our
// producer is the output's port. Changes made anywhere come from the System Announce
// port (0:1), which a client of our own subscribes to; a GUI watches PollDescriptor
// (for reading) and calls ReadNotices when it is readable:
//
//   PORT_START 1, PORT_EXIT 2, PORT_SUBSCRIBED 3, PORT_UNSUBSCRIBED 4,
//   PORT_CHANGE and CLIENT_CHANGE 5.
//
// Without a sequencer, or with an output that did not open, the roster is empty and
// reads no notices. Every operation may be called from any thread.

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/Message.h"
#include "platform/MidiRoster.h"
#include "platform/alsa/AlsaMidiOutput.h"

struct _snd_seq;

namespace platform {

class AlsaMidiRoster : public MidiRoster {
public:
    static constexpr const char* kClientName = "Kivo-BASIC roster";

    explicit AlsaMidiRoster(AlsaMidiOutput& output);
    ~AlsaMidiRoster() override;

    AlsaMidiRoster(const AlsaMidiRoster&) = delete;
    AlsaMidiRoster& operator=(const AlsaMidiRoster&) = delete;

    bool IsOpen() const { return mSeq != nullptr; }
    // The descriptor that becomes readable when notices wait; -1 when not open.
    int PollDescriptor() const;
    // The notices waiting, oldest first; never blocks.
    std::vector<Message> ReadNotices();

    std::vector<MidiConsumer> Consumers() const override;
    int32_t ProducerId() const override;
    bool Connect(int32_t id) override;
    bool Disconnect(int32_t id) override;
    bool IsConnected(int32_t id) const override;
    int32_t ProducerConnections() const override;
    void SendControlChange(int32_t id, uint8_t channel, uint8_t control, uint8_t value) override;

private:
    AlsaMidiOutput& mOutput;
    mutable std::mutex mLock;  // the sequencer handle is not safe for concurrent use
    _snd_seq* mSeq = nullptr;
    int32_t mPort = -1;
    int mPollFd = -1;
};

}  // namespace platform
