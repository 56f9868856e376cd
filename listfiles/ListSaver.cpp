#include "listfiles/ListSaver.h"

#include <filesystem>

#include "platform/FileType.h"
#include "platform/SettingsFolder.h"

namespace {

namespace fs = std::filesystem;

// As many links as the kernel follows before it gives up (ELOOP).
constexpr int kMaxLinkDepth = 40;

// The file a write through `path` lands in: `path` with every symbolic link along
// its last component followed, the target of a dangling link included.
bool resolve_link_target(const fs::path& path, fs::path* target)
{
    fs::path at = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec))) {
            *target = at;
            return true;
        }
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) return false;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return false;
}

}  // namespace

TListSaveResult save_list_file(const std::string& path, std::string_view text)
{
    TListSaveResult result;
    fs::path target;
    if (path.empty() || !resolve_link_target(path, &target)) return result;
    result.WrittenPath = target.lexically_normal().string();
    // The new file replaces the old one's inode and with it its attributes: a type
    // the old file had is carried over.
    const std::string oldType = platform::file_type(result.WrittenPath);
    if (platform::write_file_atomically(result.WrittenPath, text) != platform::kOk) return result;
    platform::set_file_type_if_missing(result.WrittenPath, oldType.empty() ? kListFileType : oldType);
    result.Saved = true;
    return result;
}
