#include "machine/music/PlayData.h"

std::atomic<uint32_t> TPlayData::smi3MasterID{1};

TPlayData::TPlayData(int16_t channel, TPlayMidiCmd command, int16_t data1, int16_t data2, int64_t tick)
    : Channel(channel), Data1(data1), Data2(data2), Sequence(smi3MasterID.fetch_add(1, std::memory_order_relaxed)),
      Tick(tick), Command(command)
{}
