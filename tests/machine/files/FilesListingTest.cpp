// Pieces of the FILES entries: printable host names, name parts and sizes.

#include <gtest/gtest.h>

#include "machine/files/FilesListing.h"

namespace {

TEST(FilesListing, NameParts)
{
    struct Case {
        const char* name;
        const char* body;
        const char* ext;
    };
    const Case cases[] = {
        {"SAMPLE.BAS", "SAMPLE", "BAS"}, {"README", "README", ""}, {".profile", "", "profile"},
        {"a.b.c", "a.b", "c"},           {"TRAIL.", "TRAIL", ""},  {"", "", ""},
    };
    for (const Case& c : cases) {
        std::string body;
        std::string ext;
        split_host_name(c.name, body, ext);
        EXPECT_EQ(body, c.body) << c.name;
        EXPECT_EQ(ext, c.ext) << c.name;
    }
}

TEST(FilesListing, Sizes)
{
    const int64_t kilobytes[][2] = {{0, 0}, {1, 1}, {1023, 1}, {1024, 1}, {2047, 1}, {2048, 2}, {-5, 0}};
    for (const auto& c : kilobytes) EXPECT_EQ(files_kilobytes(c[0]), c[1]) << c[0];
    EXPECT_EQ(files_size_field(2500), " 2    ");
    EXPECT_EQ(files_size_field(0), " 0    ");
    EXPECT_EQ(files_size_field(99999 * 1024), " 99999");
    // A longer field is not cut.
    EXPECT_EQ(files_size_field(int64_t{123456789}), " 120563");
}

TEST(FilesListing, HostNamesArePrintedHarmlessly)
{
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"A\nB.TXT", "A?B.TXT"},
        {std::string("\x1b[2J"), "?[2J"},
        {"\x7f\t", "??"},
        {"\xE3.TXT", "?.TXT"},  // a lead byte without its continuation bytes
        {"\xE3\x81", "??"},     // cut short at the end of the name
        {"\x80X", "?X"},        // a stray continuation byte
        {"\xF8\x88\x80\x80\x80", "?????"},
        {"漢字ｶﾅ", "漢字ｶﾅ"},
    };
    for (const Case& c : cases) EXPECT_EQ(printable_host_name(c.name), c.shown);
}

}  // namespace
