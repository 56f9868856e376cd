#pragma once
// Pieces of the entries that FILES prints: 16 columns for an ordinary entry, a name
// field of 6 columns, ".", an extension field of 3 columns and a size field of 6
// characters. The name and extension fields are cut as LEFT$ cuts, which depends on
// the machine's mode; the machine puts them together (VMachineFilesDrive.cpp).

#include <cstdint>
#include <string>

// A host file name made safe to print: control bytes (below 0x20 and 0x7F) and bytes
// that do not form a whole UTF-8 character become '?'.
std::string printable_host_name(const std::string& hostName);

// The name without its extension and the extension: the text up to the last '.' and
// the text after it (the whole name and "" when it has no '.').
void split_host_name(const std::string& name, std::string& body, std::string& ext);

// A size in kilobytes as FILES shows it: 0 for 0 bytes, 1 for 1 to 1023 bytes, the
// bytes divided by 1024 and rounded down above.
int64_t files_kilobytes(int64_t bytes);

// The size field: a blank, the kilobytes, blanks up to 6 characters (never cut).
std::string files_size_field(int64_t bytes);
