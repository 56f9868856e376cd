#pragma once
// Keeps the run view's MIDI producer connected to the consumers named in the
// preference "CoMO", both ways: a change of the list reconnects the producer, and a
// connection of the producer made or broken elsewhere updates and saves the list. A
// consumer that stops receiving from the producer is silenced with all-notes-off, and
// the preferences window is told to follow ('ummr', 'rmmc').
//
// Every call but ProducerConnections runs on one thread (the run window's);
// ProducerConnections is read by the machine thread for PEEK.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/MidiOutMessages.h"
#include "platform/Message.h"
#include "platform/MidiRoster.h"

class TAppMessageSink;
class TPrefs;

class TRunMidiConnections {
public:
    // A consumer of this name never enters "CoMO".
    static constexpr const char* kAnonymousName = "<anonymous>";

    // Connects the producer to the consumers that `prefs` lists and disconnects it
    // from all others. `roster`, `prefs` and `sink` outlive the object.
    TRunMidiConnections(platform::MidiRoster& roster, TPrefs& prefs, TAppMessageSink& sink);

    TRunMidiConnections(const TRunMidiConnections&) = delete;
    TRunMidiConnections& operator=(const TRunMidiConnections&) = delete;

    // A roster notice (platform::kMidiRosterNotice).
    void MidiEvent(const platform::Message& notice);
    // 'pmoc': the list was changed by the preferences dialog.
    void PrefMidiOutChanged(const platform::Message& message);

    // The number of consumers the producer is connected to, as of the last notice.
    // Any thread.
    int32_t ProducerConnections() const { return mProducerConnections.load(std::memory_order_relaxed); }

    // Connects the producer to every consumer named in `names` (the lowest id of a
    // name only) and disconnects it from every other. Always true.
    bool ConnectMidiOuts(const std::vector<std::string>& names);
    // The id of the first consumer named `name`, or -1.
    int32_t ConsumerID(const std::string& name) const;
    // False when no consumer bears the name.
    bool ConnectMidiOut(const std::string& name);
    bool DisconnectMidiOut(const std::string& name);
    // Sends all notes off, all sound off and reset all controllers on every channel
    // to the consumer `id` alone.
    void MuteMidiOut(int32_t id);
    // Brings "CoMO" in line with the producer's actual connections: a connected
    // consumer's name is appended, and a name leaves only when no consumer of that
    // name is connected.
    void AddRemoveExitConnection();

private:
    void SendUpdateMenuMidiOutRqtd(int32_t id);
    void SendRecreateMenuMidiOutRqtd();
    void RefreshProducerConnections();

    platform::MidiRoster& mRoster;
    TPrefs& mPrefs;
    TAppMessageSink& mSink;
    std::atomic<int32_t> mProducerConnections{0};
};
