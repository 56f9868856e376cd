#pragma once
// The messages about the MIDI outputs that pass between the run view, the application
// and the preferences dialog.

#include <cstdint>

#include "platform/Message.h"

// From the run view to the application, which relays them to the preferences window:
// the mark of the consumer int32 "be:id" follows "CoMO" ('ummr'); the set of consumers
// changed ('rmmc').
inline constexpr uint32_t kUpdateMenuMidiOutRqtd = platform::fourcc("ummr");
inline constexpr uint32_t kRecreateMenuMidiOutRqtd = platform::fourcc("rmmc");
// From the preferences dialog to the application, which relays it to the run window:
// "CoMO" changed; int32 "be:id" the consumer toggled, bool "MODis" true when it was
// taken out of the list (both only when the change comes from the MIDI-output menu).
inline constexpr uint32_t kPrefMidiOutChanged = platform::fourcc("pmoc");
