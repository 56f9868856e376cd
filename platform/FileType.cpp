#include "platform/FileType.h"

#include <sys/xattr.h>

#include <cerrno>

namespace platform {

namespace {

constexpr char kTypeAttribute[] = "user.mime_type";
constexpr size_t kMaxTypeLength = 255;

}  // namespace

std::string file_type(const std::string& path)
{
    char buffer[kMaxTypeLength];
    const ssize_t length = ::getxattr(path.c_str(), kTypeAttribute, buffer, sizeof buffer);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<size_t>(length));
}

bool set_file_type_if_missing(const std::string& path, const std::string& mimeType)
{
    const ssize_t length = ::getxattr(path.c_str(), kTypeAttribute, nullptr, 0);
    if (length > 0) return true;
    if (length < 0 && errno != ENODATA) return false;
    // XATTR_CREATE: a type that another writer set in between is not replaced.
    if (::setxattr(path.c_str(), kTypeAttribute, mimeType.data(), mimeType.size(), XATTR_CREATE) == 0) return true;
    return errno == EEXIST;
}

}  // namespace platform
