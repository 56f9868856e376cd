#include "language/CodeListing.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

#include "language/MidCode.h"
#include "language/VarInfo.h"

namespace {

// "@L" followed by one or more decimal digits: a label the compiler made.
bool IsInternalLabel(std::string_view text)
{
    if (text.size() < 3 || text.substr(0, 2) != "@L") return false;
    return std::all_of(text.begin() + 2, text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

template <typename T>
std::string NumberText(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Quoted(std::string_view text)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += HEX[byte >> 4];
            out += HEX[byte & 0xF];
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

// Gives internal labels their listing numbers in order of first appearance.
class TLabelRenumberer {
public:
    std::string Rename(const std::string& label)
    {
        if (!IsInternalLabel(label)) return label;
        const auto [it, inserted] = mNames.try_emplace(label, std::string());
        if (inserted) it->second = "@L" + std::to_string(mNames.size());
        return it->second;
    }

private:
    std::map<std::string, std::string> mNames;
};

std::string CodeLine(const TVMCode& code, TLabelRenumberer* labels)
{
    const char* name = VMCodeName(code.Cmd);
    std::string line;
    if (name) {
        line = name;
    } else {
        char buffer[16];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint32_t>(code.Cmd), 16);
        line = "?0x" + std::string(buffer, result.ptr);
    }
    switch (VMOperandKind(code.Cmd)) {
    case TVMOperandKind::None: break;
    case TVMOperandKind::Long: line += ' ' + NumberText(code.Operand.Long); break;
    case TVMOperandKind::Single: line += ' ' + NumberText(code.Operand.Single); break;
    case TVMOperandKind::Double: line += ' ' + NumberText(code.Operand.Double); break;
    case TVMOperandKind::Flag: line += code.Operand.Flag ? " true" : " false"; break;
    case TVMOperandKind::Text:
        if (!code.Operand.Text)
            line += " (null)";
        else
            line += ' ' + Quoted(labels ? labels->Rename(code.Operand.Text) : std::string(code.Operand.Text));
        break;
    case TVMOperandKind::Var:
        line += ' ' + (code.Operand.Var ? code.Operand.Var->VarName : std::string("(null)"));
        break;
    }
    return line;
}

// Program labels first in key order, then internal labels by their number.
bool LabelBefore(const std::string& a, const std::string& b)
{
    const bool internalA = IsInternalLabel(a);
    const bool internalB = IsInternalLabel(b);
    if (internalA != internalB) return !internalA;
    if (internalA && a.size() != b.size()) return a.size() < b.size();  // equal-length digit strings order by value
    return a < b;
}

}  // namespace

std::string ListCode(const TVMCode& code)
{
    return CodeLine(code, nullptr);
}

std::string ListCodes(const std::vector<TVMCode>& codes, size_t from)
{
    TLabelRenumberer labels;
    std::string text;
    for (size_t i = from; i < codes.size(); ++i) text += CodeLine(codes[i], &labels) + '\n';
    return text;
}

std::string ListCodes(const TMidCode& mid, size_t from)
{
    std::map<size_t, std::vector<std::string>> labelsAt;
    for (const auto& [label, index] : mid.LabelMap) {
        if (index > 0) labelsAt[static_cast<size_t>(index)].push_back(label);
    }
    for (auto& [index, names] : labelsAt) std::sort(names.begin(), names.end(), LabelBefore);

    TLabelRenumberer labels;
    std::string text;
    auto defineLabels = [&](size_t index) {
        const auto it = labelsAt.find(index);
        if (it == labelsAt.end()) return;
        for (const std::string& name : it->second) text += labels.Rename(name) + ":\n";
    };
    for (size_t i = from; i < mid.Codes.size(); ++i) {
        defineLabels(i);
        text += CodeLine(mid.Codes[i], &labels) + '\n';
    }
    // Labels past the last record (a label at the very end of the program).
    for (auto it = labelsAt.lower_bound(std::max(from, mid.Codes.size())); it != labelsAt.end(); ++it)
        defineLabels(it->first);
    return text;
}
