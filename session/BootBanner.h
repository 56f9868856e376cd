#pragma once
// The banner the emulated machine shows when the run window opens: the system line,
// the file count, the application and its version, the free memory and "Ok", one row
// each, the cursor left at the start of the row after them.

#include <cstdint>
#include <string>

class TBasicRsrc;

// Prints the banner at the cursor of a fresh screen. The first two cells of the
// system row and of the application row get the colour codes 5 and 2.
void print_boot_banner(TBasicRsrc& rsrc, const std::string& appName, const std::string& version, int64_t freeKBytes);

// The free memory of the host in KBytes (sysinfo), or 0 when it cannot be read.
int64_t host_free_memory_kbytes();
