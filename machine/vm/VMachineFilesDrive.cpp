// Drive numbers, host paths of BASIC file names, and FILES.

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "machine/devices/BasicRsrc.h"
#include "machine/files/BasicFileName.h"
#include "machine/files/FilesListing.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

constexpr int32_t DRIVE_COUNT = TDriveFolders::COUNT;

struct TDirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

int32_t TVMachine::DriveNumber(const std::string& name)
{
    const int32_t drive = basic_drive_number(name);
    if (drive < 1 || drive > DRIVE_COUNT) throw RuntimeException2(RTE_BAD_DRIVE_NUMBER);
    return drive;
}

std::string TVMachine::DriveFolderPath(int32_t drive)
{
    std::string folder = Rsrc->DrvFolders.Get(drive - 1);
    if (folder.empty()) throw RuntimeException2(RTE_DISK_OFFLINE);
    return folder;
}

std::string TVMachine::FullPathFName(const std::string& name, bool mustExist)
{
    const int32_t drive = DriveNumber(name);
    const std::string file = basic_file_part(name);
    const std::string folder = DriveFolderPath(drive);
    // The whole name: the drive number is read up to its first non-digit, so a
    // control byte before the ':' would otherwise be passed over.
    if (has_control_byte(name)) throw RuntimeException2(RTE_FILE_NOT_FOUND);

    // The path goes to a loader that opens it by name, so the name is checked here: a
    // name that leads out of the drive folder, or to something that is not a regular
    // file, is not found.
    const int dirFd = open_drive_folder(folder);
    TBeneathResult found = TBeneathResult::NotFound;
    if (dirFd >= 0) {
        found = probe_beneath(dirFd, file).Result;
        ::close(dirFd);
    }
    if (found == TBeneathResult::Escapes || found == TBeneathResult::NotRegular) {
        throw RuntimeException2(RTE_FILE_NOT_FOUND);
    }
    if (mustExist && found != TBeneathResult::Ok) throw RuntimeException2(RTE_FILE_NOT_FOUND);
    return folder + "/" + file;
}

std::string TVMachine::FilesField(const std::string& text, long width) const
{
    // Cut as LEFT$ cuts, then padded to `width` columns, a two-column character
    // counting two; a field that already fills its columns gets nothing.
    std::string field = LeftDl(text.c_str(), width);
    const long columns = Klen(field.c_str(), 1) + 2 * Klen(field.c_str(), 2);
    if (columns < width) field.append(static_cast<size_t>(width - columns), ' ');
    return field;
}

void TVMachine::ExeBasicFiles(const TVMCode* code)
{
    int32_t drive = 1;
    if (OperandFlag(code)) {
        drive = PopInt();
        if (drive < 1 || drive > DRIVE_COUNT) throw RuntimeException2(RTE_BAD_DRIVE_NUMBER);
    }
    const std::string folder = DriveFolderPath(drive);
    Rsrc->SetFDDAccessLampByDriveIndex(drive - 1);

    // A folder that cannot be opened lists nothing.
    int dirFd;
    do {
        dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (dirFd < 0 && errno == EINTR);
    std::unique_ptr<DIR, TDirCloser> dir(dirFd >= 0 ? ::fdopendir(dirFd) : nullptr);
    if (!dir && dirFd >= 0) ::close(dirFd);

    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) break;
        const std::string hostName = entry->d_name;
        if (hostName == "." || hostName == "..") continue;

        // Sizes as the entry itself reports them, links not followed; an entry that
        // cannot be asked shows 0.
        struct stat st;
        int64_t bytes = 0;
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) bytes = st.st_size;

        int col;
        int cols;
        {
            std::lock_guard<std::recursive_mutex> lock(Rsrc->ScrLock);
            cols = Rsrc->TxtCols;
            col = Rsrc->CsrIdx % cols;
        }
        if (col + 15 >= cols) Rsrc->DoCRLF();
        std::string body;
        std::string ext;
        split_host_name(printable_host_name(hostName), body, ext);
        const std::string text = FilesField(body, 6) + "." + FilesField(ext, 3) + files_size_field(bytes);
        Rsrc->Print(text.c_str());
    }
    Rsrc->DoCRLF();
    Rsrc->UpdateScreen();
}
