#pragma once
// One timed MIDI command of a music channel, and the per-channel queue that keeps the
// commands in the order they fall due.

#include <atomic>
#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

enum TPlayMidiCmd : int32_t {
    pmcNoteOn = 0,         // data1 note, data2 velocity
    pmcNoteOff = 1,        // data1 note, data2 velocity
    pmcProgramChange = 2,  // data1 program
    pmcTempo = 3,          // data1 tempo; changes the time per tick when reached
    pmcMarker = 4,         // keeps the channel's queue busy until its tick
};

class TPlayData {
public:
    // Leaves every field unset, as a place to pop a command into.
    TPlayData() = default;
    // Stamps the next sequence number, so commands of one tick keep the order they were made in.
    TPlayData(int16_t channel, TPlayMidiCmd command, int16_t data1, int16_t data2, int64_t tick);

    int16_t Channel;
    int16_t Data1;
    int16_t Data2;
    uint32_t Sequence;
    int64_t Tick;
    TPlayMidiCmd Command;

    // By tick, then by sequence number.
    bool operator<(const TPlayData& other) const
    {
        if (Tick != other.Tick) return Tick < other.Tick;
        return Sequence < other.Sequence;
    }
    bool operator>(const TPlayData& other) const { return other < *this; }

    // The class-wide sequence counter; starts at 1.
    static std::atomic<uint32_t> smi3MasterID;
};

// A heap whose top is the command that falls due first.
using TPlayQueue = std::priority_queue<TPlayData, std::vector<TPlayData>, std::greater<TPlayData>>;
