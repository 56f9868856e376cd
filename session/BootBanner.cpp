#include "session/BootBanner.h"

#include <sys/sysinfo.h>

#include <charconv>
#include <mutex>

#include "machine/devices/BasicRsrc.h"

namespace {

const char* const KIVO_BOOT_STR[] = {"ZaRO Version", "How many files (0-15)? 15", " KBytes free"};

// The row's first two cells take the colours of the old machine's logo.
void colour_row_start(TBasicRsrc& rsrc, int row)
{
    std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
    const int cell = row * rsrc.TxtCols;
    rsrc.TxtAttr[cell] = 5;
    rsrc.TxtAttr[cell + 1] = 2;
    rsrc.SetScrModifiedByTxt2(static_cast<short>(cell), static_cast<short>(cell + 1));
}

void print_row(TBasicRsrc& rsrc, const std::string& text)
{
    rsrc.Print(text.c_str());
    rsrc.DoCRLF();
}

}  // namespace

void print_boot_banner(TBasicRsrc& rsrc, const std::string& appName, const std::string& version, int64_t freeKBytes)
{
    print_row(rsrc, KIVO_BOOT_STR[0]);
    colour_row_start(rsrc, 0);
    print_row(rsrc, KIVO_BOOT_STR[1]);
    print_row(rsrc, appName + "  " + version);
    colour_row_start(rsrc, 2);
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, freeKBytes).ptr;
    print_row(rsrc, std::string(number, end) + KIVO_BOOT_STR[2]);
    print_row(rsrc, "Ok");
    rsrc.UpdateScreen();
}

int64_t host_free_memory_kbytes()
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return 0;
    return static_cast<int64_t>(info.freeram) * info.mem_unit / 1024;
}
