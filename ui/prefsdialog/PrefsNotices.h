#pragma once
// The notices the preferences dialog sends to the application, which relays each to
// the window it concerns. Receivers read the new values from gPrefs; only 'pmoc'
// carries fields (int32 "be:id", bool "MODis"), and only when it comes from the
// MIDI-output menu.

#include "foundation/MidiOutMessages.h"  // 'pmoc'
#include "platform/Message.h"

inline constexpr uint32_t kPrefsMainFontChanged = platform::fourcc("pmfc");
inline constexpr uint32_t kPrefsRunFontChanged = platform::fourcc("prfc");
inline constexpr uint32_t kPrefsDebugFontChanged = platform::fourcc("pdfc");
inline constexpr uint32_t kPrefsDefaultEncodingChanged = platform::fourcc("pdec");
inline constexpr uint32_t kPrefsWordWrapChanged = platform::fourcc("pwwc");
inline constexpr uint32_t kPrefsAutoSaveChanged = platform::fourcc("parc");
inline constexpr uint32_t kPrefsSpeedControlChanged = platform::fourcc("pusc");
// The dialog was confirmed with OK: the status bar says "Preferences changed.".
inline constexpr uint32_t kPrefsConfirmed = platform::fourcc("prcd");
// The application's own Help command, which the dialog's Help button asks for.
inline constexpr uint32_t kPrefsHelpRequested = platform::fourcc("_hlp");
