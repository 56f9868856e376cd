#include "foundation/StringUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct PathCase {
    std::string path;
    std::string expected;
};

void check_each(const char* function, const std::vector<PathCase>& cases,
                const std::function<std::string(const std::string&)>& call)
{
    for (const PathCase& c : cases) EXPECT_EQ(call(c.path), c.expected) << function << "(\"" << c.path << "\")";
}

TEST(StringUtilsTest, AddExtAppendsOnlyWhenTheNameHasNoDot)
{
    check_each("add_ext",
               {
                   {"tune", "tune.bas"},
                   {"tune.txt", "tune.txt"},
                   {"tune.bas", "tune.bas"},
                   {"dir.d/tune", "dir.d/tune.bas"},
                   {"tune.", "tune."},
                   {".profile", ".profile"},
                   {"", ".bas"},
                   {"/a/b/", "/a/b/.bas"},
               },
               [](const std::string& path) { return add_ext(path, "bas"); });
}

TEST(StringUtilsTest, ReextReplacesTheExtensionOfTheNamePart)
{
    check_each("reext",
               {
                   {"a/b.txt", "a/b.bas"},
                   {"a/b.", "a/b.bas"},
                   {"a.d/b", "a.d/b.bas"},
                   {"b.c.d", "b.c.bas"},
                   {"b", "b.bas"},
               },
               [](const std::string& path) { return reext(path, "bas"); });
}

TEST(StringUtilsTest, ExtractFileExtTakesTheTextAfterTheLastDotOfTheWholePath)
{
    check_each("extract_file_ext",
               {
                   {"a/b.txt", "txt"},
                   {"a/b", ""},
                   {"a/b.", ""},
                   {"a.d/b", "d/b"},
                   {"a/b.c.d", "d"},
                   {"", ""},
               },
               extract_file_ext);
}

TEST(StringUtilsTest, ExtractFileFolderPathKernelKeepsNCharactersPastTheLastSlash)
{
    struct Case {
        std::string path;
        int n;
        std::string expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"/a/b/c", 1, "/a/b/"}, {"/a/b/c", 0, "/a/b"}, {"c", 0, ""},    {"c", 1, ""},
        {"c", 5, ""},           {"/c", 1, "/"},        {"/c", 0, ""},   {"/a/b/", 1, "/a/b/"},
        {"/a/b/c", 9, "/a/b/c"}, {"/a/b/c", -9, ""},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(extract_file_folder_path_kernel(c.path, c.n), c.expected) << "\"" << c.path << "\" with n = " << c.n;
}

TEST(StringUtilsTest, ExtractFileNameTakesTheLastComponent)
{
    check_each("extract_file_name",
               {
                   {"/a/b/c", "c"},
                   {"/a/b/", ""},
                   {"c", "c"},
                   {"", ""},
                   {"/a.d/c.bas", "c.bas"},
               },
               extract_file_name);
}

TEST(StringUtilsTest, ExtractFileBodyDropsTheLastExtensionOfTheName)
{
    check_each("extract_file_body",
               {
                   {"/a/b.c.d", "b.c"},
                   {"/a.x/b", "b"},
                   {"/a/.rc", ""},
                   {"b", "b"},
                   {"b.", "b"},
                   {"/a/", ""},
               },
               extract_file_body);
}

TEST(StringUtilsTest, RelativePathClimbsFromTheFolderOfTheBase)
{
    struct Case {
        std::string base;
        std::string target;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/a/b/c.bas", "/a/b/d/e.txt", "./d/e.txt"},
        {"/a/b/c.bas", "/a/x/e.txt", "../x/e.txt"},
        {"/a/bc/d", "/a/bx/e", "../bx/e"},
        {"/a/b/c.bas", "/a/b/c.bas", "./c.bas"},
        // Paths that differ in their first byte.
        {"base", "target/x", "./target/x"},
        {"x/y/base", "target", "../../target"},
        // A base that ends in "/" is that folder itself.
        {"/a/b/", "/a/b/c/d", "./c/d"},
        // Nothing is folded.
        {"/a/./b", "/a/../c", "../../c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(relative_path(c.base, c.target), c.expected) << "from \"" << c.base << "\" to \"" << c.target << "\"";
}

TEST(StringUtilsTest, TrimRemovesOnlySpacesAndTabsAtBothEnds)
{
    check_each("trim",
               {
                   {"", ""},
                   {" \t \t", ""},
                   {"  12 34\t", "12 34"},
                   {"abc", "abc"},
                   {"abc\r\n", "abc\r\n"},
                   {" \r abc \n ", "\r abc \n"},
                   {"\vx\v", "\vx\v"},
               },
               trim);
}

}  // namespace
