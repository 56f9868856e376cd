// Sequential files: OPEN, CLOSE, EOF, PRINT # and WRITE #.

#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "language/OpenModes.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/files/BasicFileName.h"
#include "machine/vm/PrintText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

// FOR INPUT reads only, so read-only files can be read; the others read and write.
int open_flags_of_mode(int32_t mode)
{
    switch (mode) {
    case open_mode::ForInput: return O_RDONLY;
    case open_mode::ForOutput: return O_RDWR | O_CREAT | O_TRUNC;
    case open_mode::ForAppend: return O_RDWR | O_APPEND;
    case open_mode::NoFor: return O_RDWR | O_CREAT;
    default: return -1;
    }
}

// Whether a slot has the file `found` open in a way that a new handle of it, exclusive
// or not, would clash with. The file is known by its device and inode, so every name
// that reaches it counts: another drive mapped to the same folder, "./A", a link, or
// another case of the name on a file system that ignores case.
bool open_in_another_slot(const TKivoFile (&files)[TBasicRsrc::FILE_COUNT], const struct stat& found, bool exclusive)
{
    for (const TKivoFile& file : files) {
        if (!file.IsOpen() || (!exclusive && !file.Exclusive())) continue;
        struct stat st;
        if (::fstat(file.Descriptor(), &st) == 0 && st.st_dev == found.st_dev && st.st_ino == found.st_ino) {
            return true;
        }
    }
    return false;
}

}  // namespace

void TVMachine::InitFuncTableFiles(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcClose, &M::ExeBasicClose},
        {vcEof, &M::ExeBasicEof},
        {vcFiles, &M::ExeBasicFiles},
        {vcInputSh, &M::ExeBasicInputSh},
        {vcLineInputSh, &M::ExeBasicLineInputSh},
        {vcOpen, &M::ExeBasicOpen},
        {vcPrintSh, &M::ExeBasicPrintSh},
        {vcWriteSh, &M::ExeBasicWriteSh},
    });
}

TKivoFile& TVMachine::OpenFileOfNumber(int32_t n)
{
    if (n < 1 || n > TBasicRsrc::FILE_COUNT) throw RuntimeException2(RTE_BAD_FILE_NUMBER);
    TKivoFile& file = Rsrc->OpenFiles[n - 1];
    if (!file.IsOpen()) throw RuntimeException2(RTE_FILE_NOT_OPEN);
    return file;
}

void TVMachine::ExeBasicOpen(const TVMCode* code)
{
    const int32_t n = PopInt();
    std::string name;
    {
        const TStackData value = Pop();
        const char* text = value.CString();
        if (text == nullptr) throw RuntimeException2(RTE_TYPE_MISMATCH);
        name.assign(text, value.TextLength());  // a NUL inside stays, to be refused
    }
    const int flags = open_flags_of_mode(code->Operand.Long);
    if (flags < 0) throw RuntimeException2(RTE_INTERNAL_ERROR);

    if (name.empty()) throw RuntimeException2(RTE_FILE_NOT_FOUND);
    if (n < 1 || n > TBasicRsrc::FILE_COUNT) throw RuntimeException2(RTE_BAD_FILE_NUMBER);
    TKivoFile& file = Rsrc->OpenFiles[n - 1];
    if (file.IsOpen()) throw RuntimeException2(RTE_FILE_ALREADY_OPEN);
    const int32_t drive = DriveNumber(name);
    const std::string folder = DriveFolderPath(drive);
    // The drive number is read up to its first non-digit, so a control byte before the
    // ':' would otherwise be passed over.
    if (has_control_byte(name)) throw RuntimeException2(RTE_CANNOT_OPEN_FILE);

    // The name is opened relative to the drive folder and never leaves it. A file that
    // another slot holds is refused before OUTPUT empties it.
    const bool exclusive = code->Operand.Long == open_mode::ForOutput || code->Operand.Long == open_mode::ForAppend;
    const int dirFd = open_drive_folder(folder);
    if (dirFd < 0) throw RuntimeException2(errno == ENOENT ? RTE_FILE_NOT_FOUND : RTE_CANNOT_OPEN_FILE);
    const TBeneathOpen opened = open_beneath(dirFd, basic_file_part(name), flags, [&](const struct stat& found) {
        return open_in_another_slot(Rsrc->OpenFiles, found, exclusive);
    });
    ::close(dirFd);
    switch (opened.Result) {
    case TBeneathResult::Ok: break;
    case TBeneathResult::NotFound: throw RuntimeException2(RTE_FILE_NOT_FOUND);
    case TBeneathResult::InUse: throw RuntimeException2(RTE_FILE_ALREADY_OPEN);
    default: throw RuntimeException2(RTE_CANNOT_OPEN_FILE);
    }
    file.Adopt(opened.Fd);
    file.SetDrvIdx(drive - 1);
    file.SetExclusive(exclusive);
    Rsrc->SetFDDAccessLampByFileDesc(n);
}

void TVMachine::ExeBasicClose(const TVMCode* code)
{
    const int32_t count = code->Operand.Long;
    if (count == 0) {
        Rsrc->CloseAllFiles();
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t n = PopInt();
        if (n < 1 || n > TBasicRsrc::FILE_COUNT) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        Rsrc->OpenFiles[n - 1].Unset();
    }
}

void TVMachine::ExeBasicEof(const TVMCode*)
{
    const int32_t n = PopInt();
    const TKivoFile& file = OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    PushInt(file.Eof() ? -1 : 0);
}

void TVMachine::WriteItemToFile(const TVMCode* code, bool writeForm)
{
    std::string made;
    TStackData item;
    std::string_view text;
    if (OperandFlag(code)) {
        text = "\r\n";
    } else if (!writeForm && Top().type == sdString) {
        // A text goes out from where it lies, not copied first: it may be hundreds of
        // megabytes long.
        item = Pop();
        const char* bytes = item.CString();
        if (bytes != nullptr) text = bytes;
    } else {
        // A comma goes to the file as one blank, not as the screen's print zones.
        made = writeForm ? GetWriteStr(Top()) : GetPrintStr(Top(), 1);
        Pop();
        text = made;
    }
    const int32_t n = PopInt();
    TKivoFile& file = OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    if (!file.WriteAll(text.data(), text.size(), [this] { return StopRequested(); })) {
        throw RuntimeException2(RTE_DISK_IO_ERROR);
    }
}

void TVMachine::ExeBasicPrintSh(const TVMCode* code)
{
    WriteItemToFile(code, false);
}

void TVMachine::ExeBasicWriteSh(const TVMCode* code)
{
    WriteItemToFile(code, true);
}
