#pragma once
// Where settings files live: the user's settings directory / "TAVREN" / folder / file.

#include <cstdint>
#include <string>

// Sets `entry` to the path of the settings file `file` in `folder`, creating the
// folders (mode 0777) when missing, for loads as well as saves; the file itself need
// not exist. -1 when the settings directory cannot be found (the entry is then
// untouched), or when `folder` or `file` is empty, holds "/", or is "." or "..".
int32_t get_settings_entry(const char* folder, const char* file, std::string* entry);
