#pragma once
// The notices the preferences dialog sends to the application, which relays each to
// the window it concerns, and the Help request. None carries fields: the receivers
// read the new values from gPrefs. ('pmoc', the one notice with fields, is in
// foundation/MidiOutMessages.h.)

#include <cstdint>

#include "platform/Message.h"

// From the preferences dialog to the application, which relays it to the main window,
// which passes it on to the editor view: "MWFF" or "MWFS" changed. A size edit sends
// it 1.5 s after the typing pauses.
inline constexpr uint32_t kPrefsMainFontChanged = platform::fourcc("pmfc");
// From the preferences dialog through the application to the run window, which passes
// it on to the run view: "RWFF" or "RWFS" changed (a size edit 1.5 s late, as 'pmfc').
inline constexpr uint32_t kPrefsRunFontChanged = platform::fourcc("prfc");
// From the preferences dialog through the application to the debug window, which sets
// the debug view's fonts again: "DWFF" or "DWFS" changed (a size edit 1.5 s late).
inline constexpr uint32_t kPrefsDebugFontChanged = platform::fourcc("pdfc");
// From the preferences dialog through the application to the main window, for its
// open panel: "DEnc" changed.
inline constexpr uint32_t kPrefsDefaultEncodingChanged = platform::fourcc("pdec");
// From the preferences dialog through the application and the main window to the
// editor view: "WdWp" changed.
inline constexpr uint32_t kPrefsWordWrapChanged = platform::fourcc("pwwc");
// From the preferences dialog through the application and the main window to the
// editor view, which sets its auto-save timer again: "ASvR" or "ASvI" changed.
inline constexpr uint32_t kPrefsAutoSaveChanged = platform::fourcc("parc");
// From the preferences dialog through the application and the run window to the run
// view: "USpC" changed.
inline constexpr uint32_t kPrefsSpeedControlChanged = platform::fourcc("pusc");
// From the preferences dialog's OK to the application: the main window's status bar
// says "Preferences changed.".
inline constexpr uint32_t kPrefsConfirmed = platform::fourcc("prcd");
// From the main window's Help menu item and the preferences dialog's Help button (or
// F1) to the application: opens the help.
inline constexpr uint32_t kHelpMessage = platform::fourcc("_hlp");
