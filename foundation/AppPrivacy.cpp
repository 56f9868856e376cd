#include "foundation/AppPrivacy.h"

#include <climits>
#include <cstdlib>
#include <memory>

#include "foundation/StringUtils.h"

void TAppPrivacy::AnalyzeExePath(const char* path)
{
    mExeName.clear();
    mExeFolder.clear();
    if (!path || !*path) return;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path, nullptr), &std::free);
    if (!resolved) return;
    std::string full(resolved.get());
    mExeName = extract_file_name(full);
    mExeFolder = extract_file_folder_path_kernel(full, 1);
}
