#pragma once
// MIDI endpoints for the run window's tests: the in-memory roster and a recorder,
// both owned by the test. Roster notices reach the view as messages (DeliverNotices).

#include <memory>

#include "machine/music/MidiRecorder.h"
#include "platform/FakeMidiRoster.h"
#include "ui/runwindow/RunMidi.h"

class FakeRunMidiPorts : public TRunMidiPorts {
public:
    FakeRunMidiPorts(platform::FakeMidiRoster& roster, TMidiRecorder& output) : mRoster(roster), mOutput(output) {}

    TMidiOutput& Output() override { return mOutput; }
    platform::MidiRoster& Roster() override { return mRoster; }

private:
    platform::FakeMidiRoster& mRoster;
    TMidiRecorder& mOutput;
};

inline std::unique_ptr<TRunMidiPorts> fake_run_midi_ports(platform::FakeMidiRoster& roster, TMidiRecorder& output)
{
    return std::make_unique<FakeRunMidiPorts>(roster, output);
}
