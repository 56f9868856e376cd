#include "ui/runwindow/RunMidi.h"

#include "foundation/Common.h"
#include "machine/music/MMLPlayer.h"

// The ports' output, with the connection count that PEEK reads taken from the atomic
// the connections refresh on every notice: the machine thread never asks the roster.
class TRunMidi::TCountedOutput : public TMidiOutput {
public:
    TCountedOutput(TMidiOutput& output, const TRunMidiConnections& connections)
        : mOutput(output), mConnections(connections)
    {}

    void NoteOn(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override
    {
        mOutput.NoteOn(channel, note, velocity, when);
    }
    void NoteOff(uint8_t channel, uint8_t note, uint8_t velocity, int64_t when) override
    {
        mOutput.NoteOff(channel, note, velocity, when);
    }
    void ProgramChange(uint8_t channel, uint8_t program, int64_t when) override
    {
        mOutput.ProgramChange(channel, program, when);
    }
    void ControlChange(uint8_t channel, uint8_t control, uint8_t value, int64_t when) override
    {
        mOutput.ControlChange(channel, control, value, when);
    }
    void SystemExclusive(const std::vector<uint8_t>& data, int64_t when) override
    {
        mOutput.SystemExclusive(data, when);
    }
    int32_t Connections() const override { return mConnections.ProducerConnections(); }

private:
    TMidiOutput& mOutput;
    const TRunMidiConnections& mConnections;
};

TRunMidi::TRunMidi(std::unique_ptr<TRunMidiPorts> ports, TMmlPlayer& player)
    : mPorts(std::move(ports)), mConnections(mPorts->Roster(), gPrefs, *this),
      mOutput(std::make_unique<TCountedOutput>(mPorts->Output(), mConnections))
{
    player.SetProducer(mOutput.get());
    const int descriptor = mPorts->NoticeDescriptor();
    if (descriptor >= 0) {
        mNotifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        QObject::connect(mNotifier.get(), &QSocketNotifier::activated, [this] { ReadNotices(); });
        // Our own connections made above were announced too.
        ReadNotices();
    }
}

TRunMidi::~TRunMidi() = default;

void TRunMidi::Post(const platform::Message& message)
{
    if (mAppTarget.IsValid()) mAppTarget.SendMessage(message);
}

void TRunMidi::ReadNotices()
{
    for (const platform::Message& notice : mPorts->ReadNotices()) mConnections.MidiEvent(notice);
}
