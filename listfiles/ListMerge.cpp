#include "listfiles/ListMerge.h"

#include "foundation/ByteOrderMark.h"

std::string_view merge_separator(std::string_view list)
{
    return !list.empty() && list.back() != '\n' ? "\n" : "";
}

void append_merged_list(std::string& list, std::string_view merged)
{
    list += merged_tail(list, merged);
}

std::string merged_tail(std::string_view list, std::string_view merged)
{
    std::string tail(merge_separator(list));
    tail += after_byte_order_mark(merged);
    return tail;
}
