#pragma once
// The three fields of the Renumber dialog read into the values it applies, each the
// way the C library's strtol reads base 10: an empty New Line or Step field gives 10;
// any value of 0 or less (letters read 0) gives 1. An empty Old Line field reads 0
// and so gives 1.

#include <cstdint>
#include <string_view>

struct TRenumberValues {
    int32_t NewLine = 10;
    int32_t OldLine = 1;
    int32_t Step = 10;
};

TRenumberValues read_renumber_fields(std::string_view newLine, std::string_view oldLine, std::string_view step);
