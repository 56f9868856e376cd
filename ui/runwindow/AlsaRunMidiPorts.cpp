// The run view's MIDI on the ALSA sequencer.

#include "platform/alsa/AlsaMidiOutput.h"
#include "platform/alsa/AlsaMidiRoster.h"
#include "ui/runwindow/RunMidi.h"

namespace {

class TAlsaRunMidiPorts : public TRunMidiPorts {
public:
    TAlsaRunMidiPorts() : mRoster(mOutput) {}

    TMidiOutput& Output() override { return mOutput; }
    platform::MidiRoster& Roster() override { return mRoster; }
    int NoticeDescriptor() const override { return mRoster.PollDescriptor(); }
    std::vector<platform::Message> ReadNotices() override { return mRoster.ReadNotices(); }

private:
    platform::AlsaMidiOutput mOutput;
    platform::AlsaMidiRoster mRoster;
};

}  // namespace

std::unique_ptr<TRunMidiPorts> make_alsa_run_midi_ports()
{
    return std::make_unique<TAlsaRunMidiPorts>();
}
