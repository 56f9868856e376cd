#pragma once
// The backup of the editor's list, "AutoSave.bas" in the settings folder "KivoBASIC":
// written before each run when "ASBR" is set, so that a list survives a crash.

#include <string>

// The backup file's path, or empty when the settings folder cannot be found.
std::string auto_backup_path();

// Writes `text` to the backup file, whole or not at all; false when it could not.
bool save_auto_backup(const std::string& text);
