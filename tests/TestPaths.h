// Where a test program finds the checkout's files and the programs the build made.
// The build writes the values into one generated source file per test program, so
// the test sources do not depend on the folder the checkout lies in and compile the
// same in every clone.

#pragma once

#include <string>

namespace test_paths {

extern const char* const SourceDir;  // the checkout

// Programs some tests start; each is defined only for the test programs that start it.
extern const char* const Headless;       // kivo-headless
extern const char* const IapPeer;        // the shared-preferences peer of the foundation tests
extern const char* const PrefsPeer;      // the shared-preferences peer of the window tests
extern const char* const AppExecutable;  // kivo-basic

inline std::string InSource(const std::string& relative)
{
    return std::string(SourceDir) + "/" + relative;
}
inline std::string FixtureDir()
{
    return InSource("tests/fixtures");
}
inline std::string E2eFixtureDir()
{
    return InSource("tests/e2e/fixtures");
}
inline std::string UiTestDir()
{
    return InSource("tests/ui");
}

}  // namespace test_paths
