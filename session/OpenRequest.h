#pragma once
// What the editor does with an open request '_RRC' (the open panel, a recent list,
// the desktop, a dropped file, a run request naming a file).

#include <cstdint>
#include <string>

#include "platform/Message.h"

enum class TOpenAction {
    Ignore,           // no "refs": nothing is loaded and no reply is sent
    AskRemoveRecent,  // Ctrl held on an item of the recent-lists menu: delete the entry?
    Insert,           // "Add", or Alt held
    Merge,            // "Merge" (and not "Add")
    Open,             // replace the list, after the save question
};

// The keys held while the request is handled (Ctrl for the Parts' Control, Alt for
// their Option).
struct TOpenKeys {
    bool Control = false;
    bool Option = false;
};

// The field that marks the requests of the recent-lists menu's items: only those ask
// to delete their entry when Ctrl is held. The open panel, a run naming a file, the
// desktop and a drop never do.
inline constexpr const char* kFromRecentListsField = "FromRecentLists";

TOpenAction choose_open_action(const platform::Message& request, TOpenKeys keys);

// The request's first "refs" path, or empty.
std::string open_request_path(const platform::Message& request);

// "Encoding" of the request, or `defaultEncoding` (the preference "DEnc" when the
// request is handled) when it has none.
int32_t open_request_encoding(const platform::Message& request, int32_t defaultEncoding);

// The load request a run request naming a file ("FileName", "Merge") becomes: '_RRC'
// with the file and "Merge", and the run request without "FileName" as continuation
// to `target`, sent back once the list is loaded.
platform::Message make_run_load_request(const platform::Message& runRequest, const platform::Handler* target);
