#include "machine/music/MidiRecorder.h"

namespace {

const char* KindName(TMidiEvent::Kind kind)
{
    switch (kind) {
    case TMidiEvent::Kind::NoteOn: return "note-on";
    case TMidiEvent::Kind::NoteOff: return "note-off";
    case TMidiEvent::Kind::ProgramChange: return "program";
    case TMidiEvent::Kind::ControlChange: return "control";
    case TMidiEvent::Kind::SystemExclusive: return "sysex";
    }
    return "?";
}

std::string Hex(uint8_t byte)
{
    static const char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

}  // namespace

std::string FormatMidiEvent(const TMidiEvent& event, int64_t origin)
{
    std::string line = std::to_string(event.time == 0 ? 0 : event.time - origin);
    line += ' ';
    line += KindName(event.kind);
    if (event.kind == TMidiEvent::Kind::SystemExclusive) {
        for (uint8_t byte : event.bytes) line += ' ' + Hex(byte);
        return line;
    }
    line += ' ' + std::to_string(event.channel);
    line += ' ' + std::to_string(event.data1);
    if (event.kind != TMidiEvent::Kind::ProgramChange) line += ' ' + std::to_string(event.data2);
    return line;
}

std::ostream& operator<<(std::ostream& out, const TMidiEvent& event)
{
    return out << "{" << FormatMidiEvent(event) << ", sent at " << event.sentAt << "}";
}

void TMidiRecorder::NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when)
{
    Record({TMidiEvent::Kind::NoteOn, channel, note, velocity, {}, when, 0});
}

void TMidiRecorder::NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when)
{
    Record({TMidiEvent::Kind::NoteOff, channel, note, velocity, {}, when, 0});
}

void TMidiRecorder::ProgramChange(uint8_t channel, uint8_t program, int64_t when)
{
    Record({TMidiEvent::Kind::ProgramChange, channel, program, 0, {}, when, 0});
}

void TMidiRecorder::ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when)
{
    Record({TMidiEvent::Kind::ControlChange, channel, control, value, {}, when, 0});
}

void TMidiRecorder::SystemExclusive(const std::vector<uint8_t>& data, int64_t when)
{
    Record({TMidiEvent::Kind::SystemExclusive, 0, 0, 0, data, when, 0});
}

int32_t TMidiRecorder::Connections() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mConnections;
}

void TMidiRecorder::SetConnections(int32_t count)
{
    std::lock_guard<std::mutex> guard(mLock);
    mConnections = count;
}

std::vector<TMidiEvent> TMidiRecorder::Events() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mEvents;
}

size_t TMidiRecorder::Count() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mEvents.size();
}

void TMidiRecorder::Clear()
{
    std::lock_guard<std::mutex> guard(mLock);
    mEvents.clear();
}

bool TMidiRecorder::WaitForCount(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mLock);
    return mArrived.wait_for(lock, timeout, [&] { return mEvents.size() >= count; });
}

void TMidiRecorder::Record(TMidiEvent event)
{
    if (mClock != nullptr) event.sentAt = mClock->NowMicros();
    {
        std::lock_guard<std::mutex> guard(mLock);
        mEvents.push_back(std::move(event));
    }
    mArrived.notify_all();
}
