#include "debugger/DebugVarTable.h"

#include "debugger/DebugProtocol.h"
#include "debugger/VarText.h"
#include "language/MidCode.h"
#include "language/VarInfo.h"

int32_t TDebugVar::ElementCount() const
{
    return static_cast<int32_t>(var_element_count(Sizes));
}

std::string TDebugVar::ValueText(int32_t element) const
{
    const auto found = Values.find(element);
    return found != Values.end() ? found->second : var_default_text(Type);
}

std::string TDebugVar::RowText(int32_t element) const
{
    return var_element_label(Name, Sizes, element) + " : " + ValueText(element);
}

void TDebugVarTable::SetFrom(const TMidCode& code)
{
    mVars.clear();
    for (const auto& [name, info] : code.VarInfoMap) {
        // Keyed by the name the machine's messages carry.
        const std::string& shown = info.VarName.empty() ? name : info.VarName;
        TDebugVar& var = mVars[shown];
        var.Name = shown;
        var.Type = info.VarType;
        var.Sizes = var_dim_sizes(info);
        var.Values[0] = var_value_text(info, 0);
        for (int32_t element = 1; element < info.ElemCount && !var.Sizes.empty(); ++element) {
            std::string text = var_value_text(info, element);
            if (text != var_default_text(info.VarType)) var.Values[element] = std::move(text);
        }
    }
}

std::vector<std::pair<std::string, int32_t>> TDebugVarTable::ApplyUpdate(const platform::Message& message)
{
    std::vector<std::pair<std::string, int32_t>> changed;
    debug_msg::for_each_value(message, [&](const std::string& name, int32_t element, const std::string& value) {
        if (ApplyValue(name, element, value)) changed.emplace_back(name, element);
    });
    return changed;
}

bool TDebugVarTable::ApplyValue(const std::string& name, int32_t element, const std::string& value)
{
    const auto found = mVars.find(name);
    if (found == mVars.end()) return false;
    TDebugVar& var = found->second;
    // An element beyond the array's shape is ignored, not stored.
    if (element < 0 || element > var.ElementCount()) return false;
    var.Values[element] = var_cut_text(value);
    return true;
}

std::string TDebugVarTable::ApplyReset(const platform::Message& message)
{
    std::string name;
    int32_t type = 0;
    std::string value;
    if (message.FindString(debug_msg::VarName, &name) != platform::kOk ||
        message.FindInt32(debug_msg::VarType, &type) != platform::kOk ||
        message.FindString(debug_msg::Value, &value) != platform::kOk)
        return {};
    std::vector<int32_t> sizes;
    int32_t size = 0;
    for (int32_t i = 0; message.FindInt32(debug_msg::DimSize, i, &size) == platform::kOk; ++i) sizes.push_back(size);
    TDebugVar var;
    var.Name = name;
    var.Type = static_cast<TTokenKind>(type);
    var.Sizes = var_element_count(sizes) > 0 ? std::move(sizes) : std::vector<int32_t>{};
    var.Values[0] = var_cut_text(value);
    mVars[name] = std::move(var);
    return name;
}

const TDebugVar* TDebugVarTable::Find(const std::string& name) const
{
    const auto found = mVars.find(name);
    return found != mVars.end() ? &found->second : nullptr;
}
