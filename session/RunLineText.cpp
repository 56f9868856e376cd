#include "session/RunLineText.h"

#include "foundation/DecimalText.h"

std::string set_run_line_from_text(const std::string& typed, TRunRequest& request)
{
    if (typed.empty()) return "@Err_Line_Not_Input@";
    if (typed[0] >= '0' && typed[0] <= '9') {
        request.LineNum = leading_decimal_integer(typed);
        return std::string();
    }
    std::string label = typed[0] == '*' ? typed.substr(1) : typed;
    for (char& c : label)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    request.Label = std::move(label);
    return std::string();
}
