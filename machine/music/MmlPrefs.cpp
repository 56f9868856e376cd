#include "machine/music/MmlPrefs.h"

#include "foundation/Common.h"

int32_t TMmlAppPrefs::SsgVolume() const
{
    return gPrefs.SoundVolume.load();
}

int64_t TMmlAppPrefs::MidiLatency() const
{
    return gPrefs.MidiDelay.load();
}
