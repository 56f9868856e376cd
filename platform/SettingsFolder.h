#pragma once
// The user's settings directory and the file operations that settings files need.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace platform {

// The user's settings directory: $XDG_CONFIG_HOME when it is set to an absolute
// path, else $HOME/.config. It is created (mode 0777 less the umask) when missing.
// kError when neither variable gives a usable path or the folder cannot be made.
status_t user_settings_directory(std::string* path);

// Creates `path` and every missing parent with `mode`; kOk when it exists afterwards
// as a folder.
status_t create_directory(const std::string& path, unsigned mode);

// Reads a whole regular file of at most `maxSize` bytes. kBadData when it is larger
// (nothing is returned then), kIoError when it cannot be opened or read or is not a
// regular file.
status_t read_file(const std::string& path, size_t maxSize, std::string* contents);

// Replaces the file at `path` with `contents` so that the file is either the old
// one or the new one, whole: the bytes go to a temporary file in the same folder,
// which is flushed to disk and renamed over the old file. A symbolic link at `path`
// is replaced, not followed. On failure the old file is untouched and the temporary
// file is removed.
status_t write_file_atomically(const std::string& path, std::string_view contents);

}  // namespace platform
