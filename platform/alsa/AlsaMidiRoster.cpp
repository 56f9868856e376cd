#include "platform/alsa/AlsaMidiRoster.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <unistd.h>

namespace platform {

namespace {

MidiDestination Address(int32_t id)
{
    return {id / 256, id % 256, {}};
}

int32_t Id(const snd_seq_addr_t& address)
{
    return midi_endpoint_id(address.client, address.port);
}

Message EndpointNotice(MidiRosterOp op, int32_t id)
{
    Message notice(kMidiRosterNotice);
    notice.AddInt32("be:op", op);
    notice.AddInt32("be:id", id);
    return notice;
}

Message PairNotice(MidiRosterOp op, const snd_seq_connect_t& pair)
{
    Message notice(kMidiRosterNotice);
    notice.AddInt32("be:op", op);
    notice.AddInt32("be:producer", Id(pair.sender));
    notice.AddInt32("be:consumer", Id(pair.dest));
    return notice;
}

}  // namespace

AlsaMidiRoster::AlsaMidiRoster(AlsaMidiOutput& output) : mOutput(output)
{
    if (!mOutput.IsOpen() || access("/dev/snd/seq", F_OK) != 0) return;
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) return;
    snd_seq_set_client_name(seq, kClientName);
    // Receives the announcements; not offered to others as an output.
    const int port = snd_seq_create_simple_port(
        seq, "announcements", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT, SND_SEQ_PORT_TYPE_APPLICATION);
    pollfd fd{};
    if (port < 0 || snd_seq_connect_from(seq, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0 ||
        snd_seq_poll_descriptors(seq, &fd, 1, POLLIN) != 1) {
        snd_seq_close(seq);
        return;
    }
    mSeq = seq;
    mPort = port;
    mPollFd = fd.fd;
}

AlsaMidiRoster::~AlsaMidiRoster()
{
    if (mSeq != nullptr) snd_seq_close(mSeq);
}

int AlsaMidiRoster::PollDescriptor() const
{
    return mPollFd;
}

std::vector<Message> AlsaMidiRoster::ReadNotices()
{
    std::vector<Message> notices;
    if (mSeq == nullptr) return notices;
    std::lock_guard<std::mutex> guard(mLock);
    for (;;) {
        snd_seq_event_t* ev = nullptr;
        const int got = snd_seq_event_input(mSeq, &ev);
        if (got == -ENOSPC) continue;  // the input overran; what follows is still worth reading
        if (got < 0 || ev == nullptr) break;
        switch (ev->type) {
        case SND_SEQ_EVENT_PORT_START:
            notices.push_back(EndpointNotice(kMidiEndpointRegistered, Id(ev->data.addr)));
            break;
        case SND_SEQ_EVENT_PORT_EXIT:
            notices.push_back(EndpointNotice(kMidiEndpointUnregistered, Id(ev->data.addr)));
            break;
        case SND_SEQ_EVENT_PORT_SUBSCRIBED: notices.push_back(PairNotice(kMidiConnectionMade, ev->data.connect)); break;
        case SND_SEQ_EVENT_PORT_UNSUBSCRIBED:
            notices.push_back(PairNotice(kMidiConnectionBroken, ev->data.connect));
            break;
        case SND_SEQ_EVENT_PORT_CHANGE:
        case SND_SEQ_EVENT_CLIENT_CHANGE:
            notices.push_back(EndpointNotice(kMidiEndpointChanged, Id(ev->data.addr)));
            break;
        default: break;
        }
    }
    return notices;
}

std::vector<MidiConsumer> AlsaMidiRoster::Consumers() const
{
    std::vector<MidiConsumer> consumers;
    for (const MidiDestination& destination : mOutput.Destinations())
        consumers.push_back({midi_endpoint_id(destination.client, destination.port), destination.name});
    return consumers;
}

int32_t AlsaMidiRoster::ProducerId() const
{
    return mOutput.IsOpen() ? midi_endpoint_id(mOutput.ClientId(), mOutput.PortId()) : -1;
}

bool AlsaMidiRoster::Connect(int32_t id)
{
    return id >= 0 && mOutput.Connect(Address(id));
}

bool AlsaMidiRoster::Disconnect(int32_t id)
{
    return id >= 0 && mOutput.Disconnect(Address(id));
}

bool AlsaMidiRoster::IsConnected(int32_t id) const
{
    return id >= 0 && mOutput.IsConnected(Address(id));
}

int32_t AlsaMidiRoster::ProducerConnections() const
{
    return mOutput.Connections();
}

void AlsaMidiRoster::SendControlChange(int32_t id, uint8_t channel, uint8_t control, uint8_t value)
{
    if (mSeq == nullptr || id < 0) return;
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_controller(&ev, channel & 0x0F, control & 0x7F, value & 0x7F);
    snd_seq_ev_set_source(&ev, mPort);
    snd_seq_ev_set_dest(&ev, id / 256, id % 256);
    snd_seq_ev_set_direct(&ev);
    std::lock_guard<std::mutex> guard(mLock);
    snd_seq_event_output_direct(mSeq, &ev);
}

}  // namespace platform
