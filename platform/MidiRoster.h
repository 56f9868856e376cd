#pragma once
// The MIDI roster as the run view sees it: the consumers our producer can play to,
// the producer's connections to them, and notices of changes made anywhere (another
// program connecting our producer, a synthesizer appearing). Backends: the ALSA
// sequencer (platform/alsa) and an in-memory roster for tests (FakeMidiRoster.h).
//
// An endpoint's id is client * 256 + port. Notices are messages kMidiRosterNotice
// with int32 "be:op" (MidiRosterOp), and either "be:id" (the endpoint, for ops 1, 2
// and 5) or "be:producer" and "be:consumer" (the pair, for ops 3 and 4).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Message.h"

namespace platform {

inline constexpr uint32_t kMidiRosterNotice = fourcc("MIDI");

enum MidiRosterOp : int32_t {
    kMidiEndpointRegistered = 1,
    kMidiEndpointUnregistered = 2,
    kMidiConnectionMade = 3,
    kMidiConnectionBroken = 4,
    kMidiEndpointChanged = 5,
};

constexpr int32_t midi_endpoint_id(int32_t client, int32_t port)
{
    return client * 256 + port;
}

struct MidiConsumer {
    int32_t id = -1;
    std::string name;

    bool operator==(const MidiConsumer&) const = default;
};

class MidiRoster {
public:
    virtual ~MidiRoster() = default;

    // Every consumer, lowest id first.
    virtual std::vector<MidiConsumer> Consumers() const = 0;
    // The id of our producer; -1 when there is none.
    virtual int32_t ProducerId() const = 0;

    // Our producer and the consumer `id`. False when that fails (no such consumer).
    virtual bool Connect(int32_t id) = 0;
    virtual bool Disconnect(int32_t id) = 0;
    virtual bool IsConnected(int32_t id) const = 0;
    // How many consumers our producer is connected to.
    virtual int32_t ProducerConnections() const = 0;

    // One control change sent at once to the consumer `id` alone, whatever our
    // producer is connected to.
    virtual void SendControlChange(int32_t id, uint8_t channel, uint8_t control, uint8_t value) = 0;
};

}  // namespace platform
