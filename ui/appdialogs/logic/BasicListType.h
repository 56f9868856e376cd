#pragma once
// The document type of program lists as the freedesktop.org desktops know it: the
// shared-mime-info package that declares it, the desktop entry of the application
// that opens it, and the line of mimeapps.list that makes that application the
// preferred one.

#include <string>

inline constexpr const char* kBasicListType = "text/x-BASIC-source-code";
inline constexpr const char* kBasicListDescription = "BASIC Source Code";
// The desktop entry's file name, which is also its id in mimeapps.list.
inline constexpr const char* kDesktopEntryName = "kivo-basic.desktop";
inline constexpr const char* kMimePackageName = "kivo-basic.xml";
// The icon name the desktops look up for the type: the type with '-' for '/'.
inline constexpr const char* kBasicListIconName = "text-x-BASIC-source-code";

// The package: the type, its description and the globs "*.bas" and "*.BAS".
std::string basic_list_mime_package();

// A desktop entry, kept out of the desktop's menus, that opens program lists with
// the executable at `executable` (an absolute path).
std::string basic_list_desktop_entry(const std::string& executable, const std::string& appName);

// `path` as one argument of a desktop entry's Exec key: quoted when it holds a
// character the key reserves, with the key's own escapes.
std::string desktop_exec_argument(const std::string& path);

// `list` (the text of a mimeapps.list, perhaps empty) with `desktopId` as the
// default application of `type`; every other line is kept as it stands.
std::string with_default_application(const std::string& list, const std::string& type, const std::string& desktopId);
