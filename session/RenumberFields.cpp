#include "session/RenumberFields.h"

#include <algorithm>

#include "foundation/DecimalText.h"

namespace {

int32_t at_least_one(std::string_view field, int32_t whenEmpty)
{
    if (field.empty()) return whenEmpty;
    return std::max<int32_t>(leading_decimal_integer(field), 1);
}

}  // namespace

TRenumberValues read_renumber_fields(std::string_view newLine, std::string_view oldLine, std::string_view step)
{
    TRenumberValues values;
    values.NewLine = at_least_one(newLine, 10);
    values.OldLine = at_least_one(oldLine, 1);
    values.Step = at_least_one(step, 10);
    return values;
}
