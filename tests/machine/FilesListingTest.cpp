// The entries of the FILES listing.

#include <gtest/gtest.h>

#include "machine/FilesListing.h"

namespace {

TEST(FilesListing, Entries) {
    struct Case {
        const char* name;
        int64_t bytes;
        const char* entry;
    };
    const Case cases[] = {
        {"SAMPLE.BAS", 2500, "SAMPLE.BAS 2    "},
        {"README", 300, "README.    1    "},
        {"A.B", 0, "A     .B   0    "},
        {".profile", 10, "      .pro 1    "},
        {"LONGNAME.TXT", 5000, "LONGNA.TXT 4    "},
        {"a.b.longext", 1, "a.b   .lon 1    "},
        {"BIG.DAT", 123456789, "BIG   .DAT 120563"},
        {"漢字ファイル.TXT", 1024, "漢字フ.TXT 1    "},
        {"A漢字漢.T", 1024, "A漢字漢.T   1    "},
        {"ｱｲｳｴｵｶｷ.ｸ", 1024, "ｱｲｳｴｵｶ.ｸ   1    "},
    };
    for (const Case& c : cases) EXPECT_EQ(files_entry(c.name, c.bytes), c.entry) << c.name;
}

TEST(FilesListing, Kilobytes) {
    const int64_t cases[][2] = {{0, 0}, {1, 1}, {1023, 1}, {1024, 1}, {2047, 1}, {2048, 2}, {-5, 0}};
    for (const auto& c : cases) EXPECT_EQ(files_kilobytes(c[0]), c[1]) << c[0];
}

TEST(FilesListing, HostNamesArePrintedHarmlessly) {
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"A\nB.TXT", "A?B.TXT"},
        {std::string("\x1b[2J"), "?[2J"},
        {"\x7f\t", "??"},
        {"\xE3.TXT", "?.TXT"},         // a lead byte without its continuation bytes
        {"\xE3\x81", "??"},            // cut short at the end of the name
        {"\x80X", "?X"},               // a stray continuation byte
        {"\xF8\x88\x80\x80\x80", "?????"},
        {"漢字", "漢字"},
    };
    for (const Case& c : cases) EXPECT_EQ(printable_host_name(c.name), c.shown);
    EXPECT_EQ(files_entry("A\nB.TXT", 1), "A?B   .TXT 1    ");
}

}  // namespace
