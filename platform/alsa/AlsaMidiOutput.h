#pragma once
// The application's MIDI output on the ALSA sequencer. It opens a client named
// "Kivo-BASIC" with one port, "Kivo-BASIC OUT", that other ports subscribe to (the
// outputs the user connects), and a queue through which messages stamped for later
// go out at their time. Stamps are microseconds of the steady clock (the music clock
// and platform::system_time); 0 or a time already past sends at once.
//
// Without a sequencer (no /dev/snd/seq, or opening fails) the object is still usable:
// IsOpen is false, there are no outputs and no connections, and sending does nothing.
// Every operation may be called from any thread.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MidiOutput.h"

struct _snd_seq;

namespace platform {

// A port of another client that can receive MIDI from ours.
struct MidiDestination {
    int32_t client = 0;
    int32_t port = 0;
    std::string name;  // the port's name

    bool operator==(const MidiDestination&) const = default;
};

class AlsaMidiOutput : public TMidiOutput, public TMidiOutputList {
public:
    static constexpr const char* kClientName = "Kivo-BASIC";
    static constexpr const char* kPortName = "Kivo-BASIC OUT";

    AlsaMidiOutput();
    ~AlsaMidiOutput() override;

    AlsaMidiOutput(const AlsaMidiOutput&) = delete;
    AlsaMidiOutput& operator=(const AlsaMidiOutput&) = delete;

    bool IsOpen() const { return mSeq != nullptr; }
    // Our own address, for the tests; -1 when not open.
    int32_t ClientId() const { return mClient; }
    int32_t PortId() const { return mPort; }

    void NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override;
    void NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override;
    void ProgramChange(uint8_t channel, uint8_t program, int64_t when) override;
    void ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when) override;
    // `data` is the body without 0xF0 and 0xF7, which are added here.
    void SystemExclusive(const std::vector<uint8_t>& data, int64_t when) override;

    // The ports of other clients that accept subscriptions for writing, in the
    // sequencer's order (by client, then port).
    std::vector<MidiDestination> Destinations() const;
    // Their names, in the same order.
    std::vector<std::string> OutputNames() const override;

    bool Connect(const MidiDestination& destination);
    bool Disconnect(const MidiDestination& destination);
    bool IsConnected(const MidiDestination& destination) const;
    // How many ports receive from ours, whoever connected them.
    int32_t Connections() const override;

private:
    struct Event;
    void Send(Event& event, int64_t when);

    mutable std::mutex mLock;  // the sequencer handle is not safe for concurrent use
    _snd_seq* mSeq = nullptr;
    int32_t mClient = -1;
    int32_t mPort = -1;
    int32_t mQueue = -1;
    int64_t mQueueStart = 0;  // the steady clock's time when the queue started
};

}  // namespace platform
