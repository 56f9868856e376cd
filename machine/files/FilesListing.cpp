// The entries of the FILES listing.

#include "machine/files/FilesListing.h"

#include "foundation/CharColor.h"
#include "foundation/StringUtils.h"

std::string printable_host_name(const std::string& hostName)
{
    std::string out;
    const size_t n = hostName.size();
    for (size_t i = 0; i < n;) {
        const unsigned char lead = static_cast<unsigned char>(hostName[i]);
        if (lead < 0x20 || lead == 0x7F) {
            out += '?';
            ++i;
            continue;
        }
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const int len = char_bytes(static_cast<char>(lead));
        bool whole = len >= 2 && len <= 4 && i + static_cast<size_t>(len) <= n;
        for (int k = 1; whole && k < len; ++k) {
            whole = (static_cast<unsigned char>(hostName[i + static_cast<size_t>(k)]) & 0xC0) == 0x80;
        }
        if (!whole) {
            out += '?';
            ++i;
            continue;
        }
        out.append(hostName, i, static_cast<size_t>(len));
        i += static_cast<size_t>(len);
    }
    return out;
}

void split_host_name(const std::string& name, std::string& body, std::string& ext)
{
    body = extract_file_body(name);
    const size_t dot = name.rfind('.');
    ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

int64_t files_kilobytes(int64_t bytes)
{
    if (bytes <= 0) return 0;
    if (bytes < 1024) return 1;
    return bytes / 1024;
}

std::string files_size_field(int64_t bytes)
{
    std::string size = " " + std::to_string(files_kilobytes(bytes));
    if (size.size() < 6) size.append(6 - size.size(), ' ');
    return size;
}
