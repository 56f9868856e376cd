#include "session/RunMidiConnections.h"

#include <algorithm>
#include <set>

#include "foundation/Common.h"
#include "session/AppMessageSink.h"

namespace {

// Sent to a consumer that stops receiving from us, on each of the 16 channels.
constexpr uint8_t kMuteControls[] = {
    123,  // all notes off
    120,  // all sound off
    121,  // reset all controllers
};

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TRunMidiConnections::TRunMidiConnections(platform::MidiRoster& roster, TPrefs& prefs, TAppMessageSink& sink)
    : mRoster(roster), mPrefs(prefs), mSink(sink)
{
    ConnectMidiOuts(mPrefs.MidiOutputs());
    RefreshProducerConnections();
}

void TRunMidiConnections::MidiEvent(const platform::Message& notice)
{
    int32_t op = 0;
    if (notice.FindInt32("be:op", &op) != platform::kOk) {
        RefreshProducerConnections();
        return;
    }
    int32_t consumer = -1;
    const bool hasConsumer = notice.FindInt32("be:consumer", &consumer) == platform::kOk;
    int32_t producer = -1;
    const bool aboutOurProducer =
        notice.FindInt32("be:producer", &producer) == platform::kOk && producer == mRoster.ProducerId();
    switch (op) {
    case platform::kMidiEndpointRegistered:
    case platform::kMidiEndpointChanged:
        ConnectMidiOuts(mPrefs.MidiOutputs());
        SendRecreateMenuMidiOutRqtd();
        break;
    case platform::kMidiEndpointUnregistered:
        if (hasConsumer) MuteMidiOut(consumer);
        SendRecreateMenuMidiOutRqtd();
        break;
    case platform::kMidiConnectionMade:
    case platform::kMidiConnectionBroken:
        // A pair notice without its consumer names nothing to follow.
        if (!aboutOurProducer || !hasConsumer) break;
        if (op == platform::kMidiConnectionBroken) MuteMidiOut(consumer);
        AddRemoveExitConnection();
        mPrefs.SaveToFile();
        SendUpdateMenuMidiOutRqtd(consumer);
        break;
    default: break;
    }
    RefreshProducerConnections();
}

void TRunMidiConnections::PrefMidiOutChanged(const platform::Message& message)
{
    ConnectMidiOuts(mPrefs.MidiOutputs());
    int32_t id = -1;
    bool removed = false;
    if (message.FindInt32("be:id", &id) == platform::kOk && message.FindBool("MODis", &removed) == platform::kOk &&
        removed)
        MuteMidiOut(id);
    RefreshProducerConnections();
}

bool TRunMidiConnections::ConnectMidiOuts(const std::vector<std::string>& names)
{
    for (const platform::MidiConsumer& consumer : mRoster.Consumers()) {
        if (Contains(names, consumer.name)) {
            // Of several consumers of one name, the lowest id is the one meant.
            const int32_t id = ConsumerID(consumer.name);
            if (id >= 0 && !mRoster.IsConnected(id)) mRoster.Connect(id);
        } else if (mRoster.IsConnected(consumer.id)) {
            // By its own id: by name, a second consumer of the name would stay.
            mRoster.Disconnect(consumer.id);
        }
    }
    return true;
}

int32_t TRunMidiConnections::ConsumerID(const std::string& name) const
{
    for (const platform::MidiConsumer& consumer : mRoster.Consumers()) {
        if (consumer.name == name) return consumer.id;
    }
    return -1;
}

bool TRunMidiConnections::ConnectMidiOut(const std::string& name)
{
    const int32_t id = ConsumerID(name);
    if (id < 0) return false;
    mRoster.Connect(id);
    return true;
}

bool TRunMidiConnections::DisconnectMidiOut(const std::string& name)
{
    const int32_t id = ConsumerID(name);
    if (id < 0) return false;
    mRoster.Disconnect(id);
    return true;
}

void TRunMidiConnections::MuteMidiOut(int32_t id)
{
    const std::vector<platform::MidiConsumer> consumers = mRoster.Consumers();
    const bool found = std::any_of(consumers.begin(), consumers.end(),
                                   [id](const platform::MidiConsumer& consumer) { return consumer.id == id; });
    if (!found) return;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t control : kMuteControls) mRoster.SendControlChange(id, channel, control, 0);
    }
}

void TRunMidiConnections::AddRemoveExitConnection()
{
    struct Seen {
        std::string name;
        bool connected;
    };
    std::vector<Seen> seen;
    std::set<std::string> connectedNames;
    for (const platform::MidiConsumer& consumer : mRoster.Consumers()) {
        if (consumer.name == kAnonymousName) continue;
        const bool connected = mRoster.IsConnected(consumer.id);
        seen.push_back({consumer.name, connected});
        if (connected) connectedNames.insert(consumer.name);
    }
    mPrefs.ChangeMidiOutputs([&](std::vector<std::string>& names) {
        for (const Seen& consumer : seen) {
            if (consumer.connected && !Contains(names, consumer.name)) names.push_back(consumer.name);
            // A name stays while any consumer of that name is connected: a second,
            // unconnected one must not make the user's choice drop out.
            else if (!consumer.connected && connectedNames.count(consumer.name) == 0)
                std::erase(names, consumer.name);
        }
    });
}

void TRunMidiConnections::SendUpdateMenuMidiOutRqtd(int32_t id)
{
    platform::Message message(kUpdateMenuMidiOutRqtd);
    message.AddInt32("be:id", id);
    mSink.Post(message);
}

void TRunMidiConnections::SendRecreateMenuMidiOutRqtd()
{
    mSink.Post(platform::Message(kRecreateMenuMidiOutRqtd));
}

void TRunMidiConnections::RefreshProducerConnections()
{
    mProducerConnections.store(mRoster.ProducerConnections(), std::memory_order_relaxed);
}
