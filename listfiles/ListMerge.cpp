#include "listfiles/ListMerge.h"

void append_merged_list(std::string& list, std::string_view merged)
{
    if (!list.empty() && list.back() != '\n') list += '\n';
    list += merged;
}
