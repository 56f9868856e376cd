#pragma once
// The run view's MIDI: the output the music player plays through, the roster of the
// consumers it can reach and the connections kept in step with "CoMO"
// (session/RunMidiConnections.h). Roster notices arrive either through the ports'
// notice descriptor, read on the GUI thread when it becomes readable, or as
// platform::kMidiRosterNotice messages handed to MidiEvent.
//
// 'ummr' and 'rmmc' go to the application target, once one is set; before that they
// are dropped, as the application drops them while no preferences window exists.

#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "machine/host/HostInterfaces.h"
#include "platform/Message.h"
#include "platform/Messenger.h"
#include "platform/MidiRoster.h"
#include "session/AppMessageSink.h"
#include "session/RunMidiConnections.h"

class TMmlPlayer;

// The MIDI endpoints the run view plays through.
class TRunMidiPorts {
public:
    virtual ~TRunMidiPorts() = default;
    virtual TMidiOutput& Output() = 0;
    virtual platform::MidiRoster& Roster() = 0;
    // Readable when roster notices wait; -1 when the notices come as messages.
    virtual int NoticeDescriptor() const { return -1; }
    // The notices waiting; never blocks.
    virtual std::vector<platform::Message> ReadNotices() { return {}; }
};

// The ALSA sequencer's output "Kivo-BASIC OUT" and its roster; without a sequencer
// there are no consumers and the music goes nowhere.
std::unique_ptr<TRunMidiPorts> make_alsa_run_midi_ports();

class TRunMidi : private TAppMessageSink {
public:
    // Connects by "CoMO" of gPrefs and gives `player` the output. The player must stop
    // (or forget the output) before this object goes.
    TRunMidi(std::unique_ptr<TRunMidiPorts> ports, TMmlPlayer& player);
    ~TRunMidi() override;

    TRunMidi(const TRunMidi&) = delete;
    TRunMidi& operator=(const TRunMidi&) = delete;

    void SetApplicationTarget(const platform::Messenger& target) { mAppTarget = target; }
    // A roster notice.
    void MidiEvent(const platform::Message& notice) { mConnections.MidiEvent(notice); }
    // 'pmoc'.
    void PrefMidiOutChanged(const platform::Message& message) { mConnections.PrefMidiOutChanged(message); }
    TRunMidiConnections& Connections() { return mConnections; }
    TRunMidiPorts& Ports() { return *mPorts; }

private:
    class TCountedOutput;

    void Post(const platform::Message& message) override;
    void ReadNotices();

    std::unique_ptr<TRunMidiPorts> mPorts;
    TRunMidiConnections mConnections;
    std::unique_ptr<TCountedOutput> mOutput;
    std::unique_ptr<QSocketNotifier> mNotifier;
    platform::Messenger mAppTarget;
};
