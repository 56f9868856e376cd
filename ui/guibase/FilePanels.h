#pragma once
// What the callers of the file panels need around them: the file that a save panel's
// reply names, the panel's priority, and the keys given back when it closes.

#include <cstdint>

#include "platform/Message.h"
#include "platform/Status.h"

class QFileDialog;

// The file that a save reply names: the entry "name" (a string) inside the folder
// "directory" (a ref). The file need not exist; a link at its place is not followed.
// On failure `ref` is left as it was: the status of the missing field, kBadValue for
// a null argument or a name that is not one entry of that folder ("", ".", "..", or
// with a "/"), kIoError when the folder cannot be opened.
platform::status_t get_save_ref(const platform::Message* reply, platform::EntryRef* ref);

// Panels run on the GUI thread here, which has one priority: nothing changes.
// -1 for a null panel, 0 otherwise.
platform::status_t set_file_panel_priority(QFileDialog* panel, int32_t priority);

// Gives the keys back when the panel closes: closes its name-completion list and makes
// the panel's window (its parent's), when shown, the active window again. Return in the
// name field while the list is shown chooses the file and closes the panel, but Qt
// leaves the list open when the keyboard focus does not move (no window manager, or
// one slow to move it); the list would then take the next keys, meant for the window
// below, and hand them to the hidden name field.
void give_keys_back_when_panel_closes(QFileDialog* panel);
