// The entries of the FILES listing.

#include "machine/FilesListing.h"

#include "foundation/CharColor.h"
#include "foundation/StringUtils.h"

std::string printable_host_name(const std::string& hostName) {
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

std::string files_field(const std::string& text, int columns) {
    std::string out;
    int used = 0;
    for (size_t i = 0; i < text.size() && used < columns;) {
        size_t len = static_cast<size_t>(char_bytes(text[i]));
        if (i + len > text.size()) len = text.size() - i;
        const std::string ch = text.substr(i, len);
        used += is_kanji(ch.c_str()) ? 2 : 1;
        out += ch;
        i += len;
    }
    if (used < columns) out.append(static_cast<size_t>(columns - used), ' ');
    return out;
}

int64_t files_kilobytes(int64_t bytes) {
    if (bytes <= 0) return 0;
    if (bytes < 1024) return 1;
    return bytes / 1024;
}

std::string files_entry(const std::string& hostName, int64_t bytes) {
    const std::string name = printable_host_name(hostName);
    const size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    std::string size = " " + std::to_string(files_kilobytes(bytes));
    if (size.size() < 6) size.append(6 - size.size(), ' ');
    return files_field(extract_file_body(name), 6) + "." + files_field(ext, 3) + size;
}
