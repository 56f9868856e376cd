// Feeds arbitrary file contents to the readers of INPUT #, LINE INPUT # and INPUT$,
// and arbitrary host names to the FILES name cleaner. The first byte picks the
// reader and its counts, the rest is the file. Each reader must consume the file
// without reading past its end, give back at most the items asked for, and never
// loop; printable names must hold no control byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "foundation/Exception.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/files/FilesListing.h"
#include "machine/vm/VMachine.h"

namespace {

class TFuzzMachine : public TVMachine {
public:
    using TVMachine::InputDlFromFile;
    using TVMachine::InputFromFile;
    using TVMachine::TVMachine;
};

off_t file_size(int fd)
{
    const off_t end = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    return end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TMidCode mid;
    static TBasicRsrc rsrc;
    static TFuzzMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    if (size == 0) return 0;
    const uint8_t control = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    for (char c : printable_host_name(bytes)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) std::abort();
    }

    const int fd = ::memfd_create("kivo-fuzz-file", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        ::close(fd);
        return 0;
    }
    const off_t end = file_size(fd);
    TKivoFile& file = rsrc.OpenFiles[0];
    file.Adopt(fd);

    try {
        if ((control & 0x80) == 0) {
            const long wanted = 1 + (control & 0x0F);
            const bool lineMode = (control & 0x40) != 0;
            std::vector<std::string> items;
            // Every round consumes at least one byte or ends the file, so this ends.
            for (size_t round = 0; round <= bytes.size() + 1 && !file.Eof(); ++round) {
                const off_t before = file.Position();
                machine.InputFromFile(1, wanted, items, lineMode);
                if (static_cast<long>(items.size()) > wanted) std::abort();
                if (file.Position() <= before && !file.Eof()) std::abort();
            }
            if (!file.Eof()) std::abort();
        } else {
            const int32_t count = control & 0x3F;
            std::string all;
            for (size_t round = 0; round <= bytes.size() + 1 && !file.Eof(); ++round) {
                const std::string text = machine.InputDlFromFile(1, count == 0 ? 1 : count).text;
                if (text.empty() && !file.Eof()) std::abort();
                all += text;
            }
            // The pieces put together are the file, byte for byte.
            if (all != bytes) std::abort();
        }
    } catch (const TException&) {
        std::abort();  // the file is open and the number good: nothing may fail
    }
    if (file.Position() > end) std::abort();
    file.Unset();
    return 0;
}
