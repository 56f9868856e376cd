#pragma once
// The entries that FILES prints: 16 columns for an ordinary entry, a name field of 6
// columns, ".", an extension field of 3 columns and a size field of 6 characters,
// e.g. "SAMPLE.BAS 2    " for a file SAMPLE.BAS of 2500 bytes.

#include <cstdint>
#include <string>

// A host file name made safe to print: control bytes (below 0x20 and 0x7F) and bytes
// that do not form a whole UTF-8 character become '?'.
std::string printable_host_name(const std::string& hostName);

// The leftmost `columns` columns of a text: characters are taken while fewer than
// `columns` columns are used (a two-column character that straddles the limit stays
// whole), then spaces are added up to `columns` columns.
std::string files_field(const std::string& text, int columns);

// A size in kilobytes as FILES shows it: 0 for 0 bytes, 1 for 1 to 1023 bytes, the
// bytes divided by 1024 and rounded down above.
int64_t files_kilobytes(int64_t bytes);

// The whole entry of a host file name (made printable here) and its size in bytes.
std::string files_entry(const std::string& hostName, int64_t bytes);
