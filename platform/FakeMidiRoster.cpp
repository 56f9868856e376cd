#include "platform/FakeMidiRoster.h"

#include <algorithm>

namespace platform {

int32_t FakeMidiRoster::ProducerConnections() const
{
    return static_cast<int32_t>(std::count_if(mConnections.begin(), mConnections.end(),
                                              [](const auto& pair) { return pair.first == kOurProducer; }));
}

void FakeMidiRoster::SendControlChange(int32_t id, uint8_t channel, uint8_t control, uint8_t value)
{
    if (HasConsumer(id)) mSent.push_back({id, channel, control, value});
}

bool FakeMidiRoster::AddConsumer(int32_t id, const std::string& name)
{
    if (HasConsumer(id)) return false;
    const auto at = std::find_if(mConsumers.begin(), mConsumers.end(),
                                 [id](const MidiConsumer& consumer) { return consumer.id > id; });
    mConsumers.insert(at, {id, name});
    QueueEndpoint(kMidiEndpointRegistered, id);
    return true;
}

void FakeMidiRoster::RemoveConsumer(int32_t id)
{
    if (!HasConsumer(id)) return;
    std::erase_if(mConsumers, [id](const MidiConsumer& consumer) { return consumer.id == id; });
    std::erase_if(mConnections, [id](const auto& pair) { return pair.second == id; });
    QueueEndpoint(kMidiEndpointUnregistered, id);
}

void FakeMidiRoster::RenameConsumer(int32_t id, const std::string& name)
{
    for (MidiConsumer& consumer : mConsumers) {
        if (consumer.id == id) {
            consumer.name = name;
            QueueEndpoint(kMidiEndpointChanged, id);
        }
    }
}

bool FakeMidiRoster::ConnectFrom(int32_t producer, int32_t consumer)
{
    if (!HasConsumer(consumer) || !mConnections.insert({producer, consumer}).second) return false;
    QueuePair(kMidiConnectionMade, producer, consumer);
    return true;
}

bool FakeMidiRoster::DisconnectFrom(int32_t producer, int32_t consumer)
{
    if (mConnections.erase({producer, consumer}) == 0) return false;
    QueuePair(kMidiConnectionBroken, producer, consumer);
    return true;
}

std::vector<Message> FakeMidiRoster::TakeNotices()
{
    return std::exchange(mNotices, {});
}

std::vector<FakeMidiRoster::SentControl> FakeMidiRoster::TakeSent()
{
    return std::exchange(mSent, {});
}

bool FakeMidiRoster::HasConsumer(int32_t id) const
{
    return std::any_of(mConsumers.begin(), mConsumers.end(),
                       [id](const MidiConsumer& consumer) { return consumer.id == id; });
}

void FakeMidiRoster::QueueEndpoint(MidiRosterOp op, int32_t id)
{
    Message notice(kMidiRosterNotice);
    notice.AddInt32("be:op", op);
    notice.AddInt32("be:id", id);
    mNotices.push_back(std::move(notice));
}

void FakeMidiRoster::QueuePair(MidiRosterOp op, int32_t producer, int32_t consumer)
{
    Message notice(kMidiRosterNotice);
    notice.AddInt32("be:op", op);
    notice.AddInt32("be:producer", producer);
    notice.AddInt32("be:consumer", consumer);
    mNotices.push_back(std::move(notice));
}

}  // namespace platform
