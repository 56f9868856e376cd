#pragma once
// Putting a merged list after the end of the editor's list.

#include <string>
#include <string_view>

// Appends `merged` to `list`. A list that does not end with a line feed gets one
// first, so that its last line and the merged list's first line stay two lines
// (saved files end without one); the merged file's byte-order mark opens no line of
// the list and is left out.
void append_merged_list(std::string& list, std::string_view merged);
// What append_merged_list puts after `list`.
std::string merged_tail(std::string_view list, std::string_view merged);
// What goes between `list` and a merged list: a line feed, or nothing.
std::string_view merge_separator(std::string_view list);
