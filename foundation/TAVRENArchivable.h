#pragma once
// A settings object saved and loaded by folder and file name in the settings folder.
// Holding Shift, Command, Control and Option together resets it: a load then deletes
// the file and keeps the defaults, and a save is skipped.

#include <cstdint>

#include "foundation/Archivable.h"

class TTAVRENArchivable : public TArchivable {
public:
    TTAVRENArchivable() = default;
    ~TTAVRENArchivable() override = default;

    // 0 or -1.
    int32_t SaveByName(const char* folder, const char* file) const;
    int32_t LoadByName(const char* folder, const char* file);
};

// True while Shift, Command, Control and Option are all held.
bool settings_reset_keys_held();
