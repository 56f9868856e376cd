#pragma once
// Path and text helpers. They work on the text alone: "/" is the only separator,
// an extension is what follows a ".", and nothing here looks at the file system.
// Every function returns a new string and leaves its arguments alone.

#include <string>

// `path` with "." and `ext` appended, unless its name part already has a "."
// (then `path` comes back unchanged, whatever its extension is).
std::string add_ext(const std::string& path, const std::string& ext);

// `path` with the text after the last "." of its name part replaced by `ext`;
// a name without a "." gets "." and `ext` appended.
std::string reext(const std::string& path, const std::string& ext);

// Everything after the last "." of the whole path, or "" when there is no ".".
// Folder names are not skipped: "dir.d/name" gives "d/name".
std::string extract_file_ext(const std::string& path);

// The first (position of the last "/") + n characters of `path`, or "" when it has
// no "/": n = 1 keeps the folder's trailing "/", n = 0 drops it.
std::string extract_file_folder_path_kernel(const std::string& path, int n);

// The part after the last "/", or the whole path when it has none.
std::string extract_file_name(const std::string& path);

// The name part without its last "." and what follows it (".profile" gives "").
std::string extract_file_body(const std::string& path);

// The path that leads from the folder of the file `base` to `target`, made from the
// texts alone ("./" or "../" repeated, then the rest of `target`).
std::string relative_path(const std::string& base, const std::string& target);

// `text` without the spaces and tabs at both ends; other control bytes stay.
std::string trim(const std::string& text);
