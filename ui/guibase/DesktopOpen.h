#pragma once
// Opening a help file or a web page with the application the desktop prefers for it
// (QDesktopServices, which starts xdg-open and does not wait for it). Call these on
// the GUI thread. The caller tells the user when the result is not 0.

#include "platform/Status.h"

// Opens the file at `path` (relative to the working folder unless absolute). 0 when
// the opener was started; kBadValue for a null or empty path, kIoError for a file
// that does not exist or cannot be read, kError when no opener could be started.
platform::status_t show_help(const char* path);

// Opens `url`, which must be a complete URL with its scheme ("https://..."). 0 when
// the opener was started; kBadValue for a URL that is null, malformed or has no
// scheme, kError when no opener could be started.
platform::status_t show_url(const char* url);
