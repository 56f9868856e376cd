// Feeds arbitrary music strings to the music-string compiler. The first byte chooses
// the channel (its value modulo 7), the rest is the string. A string is either
// compiled or rejected with the bad-MML key; whatever it queues stays within MIDI's
// data bytes, so no note, velocity or program can turn into a status byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "machine/music/MMLPlayer.h"
#include "machine/music/MusicClock.h"

namespace {

void check_queued(const TMmlPlayer& player)
{
    for (int channel = 0; channel < TMmlPlayer::kChannels; ++channel) {
        for (const TPlayData& data : player.Queued(channel)) {
            if (data.Channel != channel) std::abort();
            switch (data.Command) {
            case pmcNoteOn:
            case pmcNoteOff:
                if (data.Data1 < 0 || data.Data1 > 127 || data.Data2 < 0 || data.Data2 > 127) std::abort();
                break;
            case pmcProgramChange:
                if (data.Data1 < 0 || data.Data1 > 127) std::abort();
                break;
            case pmcTempo:
                if (data.Data1 < 32 || data.Data1 > 255) std::abort();
                break;
            case pmcMarker: break;
            default: std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TManualMusicClock clock;
    static TMmlPlayer player(&clock);  // never started: only the compiler runs
    if (size == 0) return 0;
    const auto channel = static_cast<int16_t>(data[0] % TMmlPlayer::kChannels);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    player.Clear();
    clock.Advance(1000);  // lets each input's beep commands pass their time check
    try {
        player.SetMml(channel, text.c_str());
    } catch (const char* key) {
        if (std::strcmp(key, kBadMmlKey) != 0) std::abort();
    }
    check_queued(player);
    return 0;
}
