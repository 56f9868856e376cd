#pragma once
// An in-memory MIDI roster for tests. Connections are pairs of producer and consumer
// ids; changes queue the notices the real roster would send, for the test to deliver
// (TakeNotices). Our own Connect and Disconnect queue them too, as the sequencer
// does. Single-threaded.

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Message.h"
#include "platform/MidiRoster.h"

namespace platform {

class FakeMidiRoster : public MidiRoster {
public:
    static constexpr int32_t kOurProducer = midi_endpoint_id(128, 0);

    struct SentControl {
        int32_t consumer;
        uint8_t channel;
        uint8_t control;
        uint8_t value;

        bool operator==(const SentControl&) const = default;
    };

    std::vector<MidiConsumer> Consumers() const override { return mConsumers; }
    int32_t ProducerId() const override { return kOurProducer; }
    bool Connect(int32_t id) override { return ConnectFrom(kOurProducer, id); }
    bool Disconnect(int32_t id) override { return DisconnectFrom(kOurProducer, id); }
    bool IsConnected(int32_t id) const override { return mConnections.count({kOurProducer, id}) != 0; }
    int32_t ProducerConnections() const override;
    void SendControlChange(int32_t id, uint8_t channel, uint8_t control, uint8_t value) override;

    // A consumer appears (queues a registration notice); false when the id is taken.
    bool AddConsumer(int32_t id, const std::string& name);
    // A consumer goes away with its connections (queues the unregistration notice).
    void RemoveConsumer(int32_t id);
    void RenameConsumer(int32_t id, const std::string& name);
    // A connection made or broken by anyone; false when nothing changed.
    bool ConnectFrom(int32_t producer, int32_t consumer);
    bool DisconnectFrom(int32_t producer, int32_t consumer);

    // The notices queued since the last call, oldest first.
    std::vector<Message> TakeNotices();
    // The control changes sent since the last call.
    std::vector<SentControl> TakeSent();

private:
    bool HasConsumer(int32_t id) const;
    void QueueEndpoint(MidiRosterOp op, int32_t id);
    void QueuePair(MidiRosterOp op, int32_t producer, int32_t consumer);

    std::vector<MidiConsumer> mConsumers;  // by id
    std::set<std::pair<int32_t, int32_t>> mConnections;
    std::vector<Message> mNotices;
    std::vector<SentControl> mSent;
};

}  // namespace platform
