#pragma once
// A MIDI output that keeps every message with its time stamp and the time of the music
// clock at which it arrived. The music tests read the messages back; the headless
// driver's MIDI log writes them one a line (FormatMidiEvent).

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "machine/host/HostInterfaces.h"

struct TMidiEvent {
    enum class Kind { NoteOn, NoteOff, ProgramChange, ControlChange, SystemExclusive };

    Kind kind = Kind::NoteOn;
    uint8_t channel = 0;
    // Note and velocity, program and 0, or controller and value; 0 for exclusive messages.
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    std::vector<uint8_t> bytes;  // the body of an exclusive message, without F0 and F7
    int64_t time = 0;            // the stamp it was sent with; 0 means at once
    int64_t sentAt = 0;          // the clock's time when it was sent

    bool operator==(const TMidiEvent&) const = default;
};

// One line of the MIDI log: "<time> note-on 1 72 64", "<time> note-off 1 72 64",
// "<time> program 1 6", "<time> control 0 123 0", "<time> sysex 7E 7F 09 01".
// A stamp of 0 stays 0; other stamps are shown less `origin`.
std::string FormatMidiEvent(const TMidiEvent& event, int64_t origin = 0);
// The log line and the time it was sent, for test failures and diagnostics.
std::ostream& operator<<(std::ostream& out, const TMidiEvent& event);

class TMidiRecorder : public TMidiOutput {
public:
    // `clock` supplies sentAt; without one it stays 0.
    explicit TMidiRecorder(const THostClock* clock = nullptr) : mClock(clock) {}

    void NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override;
    void NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override;
    void ProgramChange(uint8_t channel, uint8_t program, int64_t when) override;
    void ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when) override;
    void SystemExclusive(const std::vector<uint8_t>& data, int64_t when) override;
    // 1 unless set otherwise: the recorder stands for one connected output.
    int32_t Connections() const override;
    void SetConnections(int32_t count);

    std::vector<TMidiEvent> Events() const;
    size_t Count() const;
    void Clear();
    // Waits until at least `count` messages have arrived; false when `timeout` passed first.
    bool WaitForCount(size_t count, std::chrono::milliseconds timeout) const;

private:
    void Record(TMidiEvent event);

    const THostClock* mClock;
    mutable std::mutex mLock;
    mutable std::condition_variable mArrived;
    std::vector<TMidiEvent> mEvents;
    int32_t mConnections = 1;
};
