// kivo-headless: runs a program list without a window and prints the text screen.

#include <iostream>
#include <string>
#include <vector>

#include "tools/headless/HeadlessOptions.h"
#include "tools/headless/HeadlessRun.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    THeadlessOptions options;
    std::string error;
    if (!parse_headless_options(args, options, error)) {
        std::cerr << "kivo-headless: " << error << '\n' << headless_usage();
        return HEADLESS_BAD_ARGUMENTS;
    }
    if (options.Help) {
        std::cout << headless_usage();
        return HEADLESS_ENDED;
    }
    return run_headless(options, std::cout, std::cerr);
}
