#include "listfiles/ListMerge.h"

std::string_view merge_separator(std::string_view list)
{
    return !list.empty() && list.back() != '\n' ? "\n" : "";
}

void append_merged_list(std::string& list, std::string_view merged)
{
    list += merge_separator(list);
    list += merged;
}
