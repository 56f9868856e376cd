#include "foundation/StringUtils.h"

namespace {

using size_type = std::string::size_type;
constexpr size_type npos = std::string::npos;

// Whether the last "." of the path (at `dot`) lies in its name part, that is after
// the last "/" (at `slash`).
bool dot_in_name(size_type dot, size_type slash)
{
    return dot != npos && (slash == npos || dot > slash);
}

}  // namespace

std::string add_ext(const std::string& path, const std::string& ext)
{
    if (dot_in_name(path.rfind('.'), path.rfind('/'))) return path;
    return path + "." + ext;
}

std::string reext(const std::string& path, const std::string& ext)
{
    const size_type dot = path.rfind('.');
    if (dot_in_name(dot, path.rfind('/'))) return path.substr(0, dot + 1) + ext;
    return path + "." + ext;
}

std::string extract_file_ext(const std::string& path)
{
    const size_type dot = path.rfind('.');
    if (dot == npos) return std::string();
    return path.substr(dot + 1);
}

std::string extract_file_folder_path_kernel(const std::string& path, int n)
{
    const size_type slash = path.rfind('/');
    if (slash == npos) return std::string();
    // Keep the length inside the text whatever n is; every caller passes 0 or 1.
    const long long length = static_cast<long long>(slash) + n;
    if (length <= 0) return std::string();
    return path.substr(0, static_cast<size_type>(length));
}

std::string extract_file_name(const std::string& path)
{
    const size_type slash = path.rfind('/');
    if (slash == npos) return path;
    return path.substr(slash + 1);
}

std::string extract_file_body(const std::string& path)
{
    const size_type slash = path.rfind('/');
    const size_type begin = slash == npos ? 0 : slash + 1;
    const size_type dot = path.rfind('.');
    if (dot != npos && dot >= begin) return path.substr(begin, dot - begin);
    return path.substr(begin);
}

std::string relative_path(const std::string& base, const std::string& target)
{
    size_type common = 0;
    while (common < base.size() && common < target.size() && base[common] == target[common]) ++common;

    // Every "/" left in the base after the common part is one folder to climb.
    size_type climbs = 0;
    for (size_type i = common; i < base.size(); ++i)
        if (base[i] == '/') ++climbs;

    std::string result;
    if (climbs == 0) {
        result = "./";
    } else {
        for (size_type i = 0; i < climbs; ++i) result += "../";
    }

    // The target continues from the start of the component the common part ends in.
    size_type from = common;
    while (from > 0 && target[from - 1] != '/') --from;
    result.append(target, from, npos);
    return result;
}

std::string trim(const std::string& text)
{
    static constexpr const char* kBlanks = " \t";
    const size_type first = text.find_first_not_of(kBlanks);
    if (first == npos) return std::string();
    const size_type last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}
