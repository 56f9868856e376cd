#pragma once
// The fixed tables of the music language.

#include <array>
#include <cstdint>

// The semitone of each note letter, "A" to "G" in alphabetical order.
extern const std::array<int8_t, 7> gMmlPitchTable;
// The program of "S0" to "S14".
extern const std::array<int16_t, 15> gMmlSsgTable;
// The General MIDI program (zero-based) of voices "@0" to "@81".
extern const std::array<int16_t, 82> gMmlVoiceTable;
