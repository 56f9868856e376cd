#include "platform/alsa/AlsaMidiOutput.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

#include <chrono>

namespace platform {

namespace {

int64_t SteadyMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// MIDI data bytes hold 0 to 127 and channels 0 to 15.
uint8_t Data(uint8_t value)
{
    return value & 0x7F;
}
uint8_t Channel(uint8_t channel)
{
    return channel & 0x0F;
}

bool AcceptsOurMidi(snd_seq_port_info_t* port)
{
    const unsigned int needed = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    const unsigned int caps = snd_seq_port_info_get_capability(port);
    return (caps & needed) == needed && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

}  // namespace

struct AlsaMidiOutput::Event {
    snd_seq_event_t ev;
};

AlsaMidiOutput::AlsaMidiOutput()
{
    // Without the sequencer device there is nothing to open (and the library would
    // complain on standard error).
    if (access("/dev/snd/seq", F_OK) != 0) return;
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return;
    snd_seq_set_client_name(seq, kClientName);
    const int port = snd_seq_create_simple_port(seq, kPortName, SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    const int queue = port < 0 ? -1 : snd_seq_alloc_named_queue(seq, kClientName);
    if (queue < 0 || snd_seq_start_queue(seq, queue, nullptr) < 0 || snd_seq_drain_output(seq) < 0) {
        snd_seq_close(seq);
        return;
    }
    mQueueStart = SteadyMicros();
    mSeq = seq;
    mClient = snd_seq_client_id(seq);
    mPort = port;
    mQueue = queue;
}

AlsaMidiOutput::~AlsaMidiOutput()
{
    if (mSeq == nullptr) return;
    snd_seq_stop_queue(mSeq, mQueue, nullptr);
    snd_seq_drain_output(mSeq);
    snd_seq_free_queue(mSeq, mQueue);
    snd_seq_close(mSeq);
}

void AlsaMidiOutput::Send(Event& event, int64_t when)
{
    snd_seq_event_t& ev = event.ev;
    snd_seq_ev_set_source(&ev, mPort);
    snd_seq_ev_set_subs(&ev);
    const int64_t offset = when - mQueueStart;
    if (when == 0 || when <= SteadyMicros() || offset <= 0) {
        snd_seq_ev_set_direct(&ev);
    } else {
        snd_seq_real_time_t at;
        at.tv_sec = static_cast<unsigned int>(offset / 1000000);
        at.tv_nsec = static_cast<unsigned int>(offset % 1000000 * 1000);
        snd_seq_ev_schedule_real(&ev, mQueue, 0, &at);
    }
    std::lock_guard<std::mutex> guard(mLock);
    snd_seq_event_output_direct(mSeq, &ev);
}

void AlsaMidiOutput::NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when)
{
    if (mSeq == nullptr) return;
    Event event;
    snd_seq_ev_clear(&event.ev);
    snd_seq_ev_set_noteon(&event.ev, Channel(channel), Data(note), Data(velocity));
    Send(event, when);
}

void AlsaMidiOutput::NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when)
{
    if (mSeq == nullptr) return;
    Event event;
    snd_seq_ev_clear(&event.ev);
    snd_seq_ev_set_noteoff(&event.ev, Channel(channel), Data(note), Data(velocity));
    Send(event, when);
}

void AlsaMidiOutput::ProgramChange(uint8_t channel, uint8_t program, int64_t when)
{
    if (mSeq == nullptr) return;
    Event event;
    snd_seq_ev_clear(&event.ev);
    snd_seq_ev_set_pgmchange(&event.ev, Channel(channel), Data(program));
    Send(event, when);
}

void AlsaMidiOutput::ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when)
{
    if (mSeq == nullptr) return;
    Event event;
    snd_seq_ev_clear(&event.ev);
    snd_seq_ev_set_controller(&event.ev, Channel(channel), Data(control), Data(value));
    Send(event, when);
}

void AlsaMidiOutput::SystemExclusive(const std::vector<uint8_t>& data, int64_t when)
{
    if (mSeq == nullptr) return;
    std::vector<uint8_t> message;
    message.reserve(data.size() + 2);
    message.push_back(0xF0);
    for (uint8_t byte : data) message.push_back(Data(byte));
    message.push_back(0xF7);
    Event event;
    snd_seq_ev_clear(&event.ev);
    snd_seq_ev_set_sysex(&event.ev, static_cast<unsigned int>(message.size()), message.data());
    Send(event, when);
}

std::vector<MidiDestination> AlsaMidiOutput::Destinations() const
{
    std::vector<MidiDestination> result;
    if (mSeq == nullptr) return result;
    std::lock_guard<std::mutex> guard(mLock);
    snd_seq_client_info_t* client;
    snd_seq_port_info_t* port;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(mSeq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == mClient) continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(mSeq, port) >= 0) {
            if (AcceptsOurMidi(port))
                result.push_back({id, snd_seq_port_info_get_port(port), snd_seq_port_info_get_name(port)});
        }
    }
    return result;
}

std::vector<std::string> AlsaMidiOutput::OutputNames() const
{
    std::vector<std::string> names;
    for (const MidiDestination& destination : Destinations()) names.push_back(destination.name);
    return names;
}

bool AlsaMidiOutput::Connect(const MidiDestination& destination)
{
    if (mSeq == nullptr) return false;
    std::lock_guard<std::mutex> guard(mLock);
    return snd_seq_connect_to(mSeq, mPort, destination.client, destination.port) >= 0;
}

bool AlsaMidiOutput::Disconnect(const MidiDestination& destination)
{
    if (mSeq == nullptr) return false;
    std::lock_guard<std::mutex> guard(mLock);
    return snd_seq_disconnect_to(mSeq, mPort, destination.client, destination.port) >= 0;
}

bool AlsaMidiOutput::IsConnected(const MidiDestination& destination) const
{
    if (mSeq == nullptr) return false;
    std::lock_guard<std::mutex> guard(mLock);
    snd_seq_port_subscribe_t* subscription;
    snd_seq_port_subscribe_alloca(&subscription);
    snd_seq_addr_t sender{static_cast<unsigned char>(mClient), static_cast<unsigned char>(mPort)};
    snd_seq_addr_t dest{static_cast<unsigned char>(destination.client), static_cast<unsigned char>(destination.port)};
    snd_seq_port_subscribe_set_sender(subscription, &sender);
    snd_seq_port_subscribe_set_dest(subscription, &dest);
    return snd_seq_get_port_subscription(mSeq, subscription) >= 0;
}

int32_t AlsaMidiOutput::Connections() const
{
    if (mSeq == nullptr) return 0;
    std::lock_guard<std::mutex> guard(mLock);
    snd_seq_query_subscribe_t* query;
    snd_seq_query_subscribe_alloca(&query);
    snd_seq_addr_t root{static_cast<unsigned char>(mClient), static_cast<unsigned char>(mPort)};
    snd_seq_query_subscribe_set_root(query, &root);
    snd_seq_query_subscribe_set_type(query, SND_SEQ_QUERY_SUBS_READ);
    int32_t count = 0;
    snd_seq_query_subscribe_set_index(query, 0);
    while (snd_seq_query_port_subscribers(mSeq, query) >= 0) {
        ++count;
        snd_seq_query_subscribe_set_index(query, snd_seq_query_subscribe_get_index(query) + 1);
    }
    return count;
}

}  // namespace platform
