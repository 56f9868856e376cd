#include "session/GoToLineText.h"

#include "foundation/DecimalText.h"
#include "session/Renumber.h"

TGoToLine find_line_from_text(std::string_view listText, const std::string& typed)
{
    TGoToLine found;
    if (typed.empty()) {
        found.AlertKey = "@Err_Line_Not_Input@";
        return found;
    }
    found.Offset = OffsetFromLineNum(listText, leading_decimal_integer(typed));
    if (found.Offset < 0) found.AlertKey = "@Err_Specified_Line_Not_Found@";
    return found;
}
