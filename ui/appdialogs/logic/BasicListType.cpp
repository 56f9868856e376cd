#include "ui/appdialogs/logic/BasicListType.h"

#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kDefaultSection = "[Default Applications]";

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

bool is_section_header(const std::string& line)
{
    return !line.empty() && line[0] == '[';
}

// The key of a "key=value" line, blanks around it dropped.
std::string_view key_of(std::string_view line)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
    while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
    return key;
}

}  // namespace

std::string basic_list_mime_package()
{
    std::string xml;
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    xml += "  <mime-type type=\"" + std::string(kBasicListType) + "\">\n";
    xml += "    <comment>" + std::string(kBasicListDescription) + "</comment>\n";
    xml += "    <sub-class-of type=\"text/plain\"/>\n";
    xml += "    <glob pattern=\"*.bas\"/>\n";
    // Globs match regardless of case unless marked; marked, the upper-case one stays
    // an entry of its own instead of repeating the first.
    xml += "    <glob pattern=\"*.BAS\" case-sensitive=\"true\"/>\n";
    xml += "  </mime-type>\n";
    xml += "</mime-info>\n";
    return xml;
}

std::string desktop_exec_argument(const std::string& path)
{
    // The Exec key's reserved characters make quoting necessary; inside quotes a
    // backslash escapes '"', '`', '$' and '\'. A '%' is doubled either way. The value
    // is a string of the entry file too, so each backslash is written twice.
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    bool quote = path.empty();
    for (char c : path)
        if (kReserved.find(c) != std::string_view::npos) quote = true;
    std::string argument;
    if (quote) argument += '"';
    for (char c : path) {
        if (c == '%') {
            argument += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += "\\\\";
            argument += c == '\\' ? "\\\\" : std::string(1, c);
        } else if (c == '\n') {
            argument += "\\n";
        } else {
            argument += c;
        }
    }
    if (quote) argument += '"';
    return argument;
}

std::string basic_list_desktop_entry(const std::string& executable, const std::string& appName)
{
    std::string entry;
    entry += "[Desktop Entry]\n";
    entry += "Type=Application\n";
    entry += "Name=" + appName + "\n";
    entry += "Comment=" + std::string(kBasicListDescription) + "\n";
    entry += "Exec=" + desktop_exec_argument(executable) + " %F\n";
    entry += "MimeType=" + std::string(kBasicListType) + ";\n";
    entry += "Terminal=false\n";
    entry += "NoDisplay=true\n";
    return entry;
}

std::string with_default_application(const std::string& list, const std::string& type, const std::string& desktopId)
{
    const std::string line = type + "=" + desktopId + ";";
    std::vector<std::string> lines = split_lines(list);
    size_t section = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == kDefaultSection) section = i;

    if (section == lines.size()) {
        if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
        lines.emplace_back(kDefaultSection);
        lines.push_back(line);
    } else {
        size_t end = section + 1;
        while (end < lines.size() && !is_section_header(lines[end])) ++end;
        // The first entry of the type takes the new value; a second one would be
        // ignored by the desktops anyway and goes.
        bool replaced = false;
        for (size_t i = section + 1; i < end;) {
            if (key_of(lines[i]) != type) {
                ++i;
            } else if (!replaced) {
                lines[i++] = line;
                replaced = true;
            } else {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                --end;
            }
        }
        if (!replaced) {
            // After the section's last entry, before the blank lines that end it.
            size_t at = end;
            while (at > section + 1 && lines[at - 1].empty()) --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        }
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}
