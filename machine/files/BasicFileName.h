#pragma once
// BASIC file names ("n:NAME") and opening them inside their drive folder.
//
// A BASIC file name is an optional drive prefix and a name. The name is used byte for
// byte, but it never leaves its drive folder: an absolute name, a ".." that climbs
// above the folder and a symbolic link that points outside are refused, and so is
// anything that is not a regular file, so a FIFO or a device can never block or
// disturb the machine. Everything here works on an open descriptor of the drive
// folder, so the folder cannot be swapped between the check and the use.

#include <cstdint>
#include <functional>
#include <string>
#include <sys/stat.h>

// The drive number of a BASIC file name: 1 when it has no ':'; otherwise the number
// at the start of the whole name, read as base-10 strtol reads it (white space
// skipped, an optional sign, the digits up to the first non-digit; no number gives 0,
// one beyond the 32-bit range its nearest end). Not checked against 1 to 14.
int32_t basic_drive_number(const std::string& name);

// The file name part: the text after the first ':', or the whole name without one.
std::string basic_file_part(const std::string& name);

// Whether the name holds a control byte (below 0x20, or 0x7F). No BASIC file name
// does: the host would take a line feed into the name, and a NUL would cut it short.
bool has_control_byte(const std::string& name);

// What resolving a name beneath a drive folder found.
enum class TBeneathResult {
    Ok,          // opened (or, for probes, an entry is there)
    NotFound,    // no entry at the name
    Escapes,     // the name or a link on its way leads out of the folder
    NotRegular,  // a folder, FIFO, device or socket
    BadName,     // the name holds a control byte
    Linked,      // opened for writing, but the file has other hard links
    InUse,       // the caller's check refused the file it found
    Failed,      // anything else; the errno is reported beside it
};

struct TBeneathOpen {
    TBeneathResult Result = TBeneathResult::Failed;
    int Fd = -1;    // the open file when Result is Ok; the caller owns it
    int Error = 0;  // errno of the failure, 0 when there was none
};

// Opens the regular file `name` inside the folder `dirFd` with the open(2) access
// flags `flags` (O_RDONLY, O_RDWR, O_CREAT, O_TRUNC, O_APPEND; files created get mode
// 0666 less the umask). The descriptor comes back blocking, close-on-exec. A file
// with more than one hard link is not opened for writing (Linked): another link may
// lie outside the drive folder. `inUse`, when given, is asked about the file found
// (its fstat); true closes it again and gives InUse. O_TRUNC empties the file only
// after both checks.
TBeneathOpen open_beneath(int dirFd, const std::string& name, int flags,
                          const std::function<bool(const struct stat&)>& inUse = {});

// Whether a regular file exists at `name` inside the folder `dirFd` (links followed
// as far as they stay inside): Ok, NotFound, Escapes, NotRegular or Failed. Never
// opens the entry itself.
TBeneathOpen probe_beneath(int dirFd, const std::string& name);

// Opens a drive folder for resolving names in it: a descriptor for openat, or −1 with
// errno set.
int open_drive_folder(const std::string& folderPath);

// Tests: resolve names as on a kernel without openat2 (true) or as usual (false).
// Without openat2 no symbolic link is followed at all.
void use_resolve_walk_for_tests(bool on);
