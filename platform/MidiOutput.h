#pragma once
// The MIDI output the music player sends to, and the list of outputs a user can
// connect it to. Backends live beside this header (platform/alsa); the machine's
// recorder for tests implements the same interface.

#include <cstdint>
#include <string>
#include <vector>

// A MIDI output. Every message is stamped with the time, in microseconds of the
// host clock, at which it is to sound.
class TMidiOutput {
public:
    virtual ~TMidiOutput() = default;
    virtual void NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) = 0;
    virtual void NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) = 0;
    virtual void ProgramChange(uint8_t channel, uint8_t program, int64_t when) = 0;
    virtual void ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when) = 0;
    virtual void SystemExclusive(const std::vector<uint8_t>& data, int64_t when) = 0;
    // How many MIDI destinations receive what is sent here (PEEK reports whether any does).
    virtual int32_t Connections() const { return 0; }
};

// The MIDI outputs a user can connect the machine's output to.
class TMidiOutputList {
public:
    virtual ~TMidiOutputList() = default;
    virtual std::vector<std::string> OutputNames() const = 0;
};
