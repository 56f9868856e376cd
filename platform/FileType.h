#pragma once
// A file's type (MIME type), kept as the extended attribute "user.mime_type", the
// name desktop tools read it under.

#include <string>

namespace platform {

// Gives the file at `path` the type `mimeType` when it has none yet; a file that
// has a type keeps it. Best effort: a file system without extended attributes
// leaves the file untyped. True when the file has a type afterwards.
bool set_file_type_if_missing(const std::string& path, const std::string& mimeType);

// The file's type, or an empty text when it has none or it cannot be read.
std::string file_type(const std::string& path);

}  // namespace platform
