// Every end-to-end program once more with the dispatch loop's fast paths off
// (kivo-headless --no-fusion): what the run shows and leaves must be what the usual
// run shows and leaves. Compared: the exit status, the text screen, the alerts, the
// graphics page, the files in drives 1 and 2 and, for the programs whose clock makes
// the stamps exact (those with a NAME.midi), the MIDI log.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "tests/TestPaths.h"
#include "tests/e2e/FixtureDrives.h"
#include "tests/e2e/FixtureText.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;
using fixture_drives::parse_file_line;
using fixture_drives::TFileLine;
using fixture_drives::TFixtureDrives;

const fs::path FIXTURES = test_paths::E2eFixtureDir();

struct TProgramCase {
    bool UsesFiles;  // from fixtures/files/, run with drive folders of its own
    std::string Name;
};

void PrintTo(const TProgramCase& program, std::ostream* out)
{
    *out << (program.UsesFiles ? "files/" : "") << program.Name;
}

std::vector<TProgramCase> all_programs()
{
    std::vector<TProgramCase> cases;
    for (const bool files : {false, true}) {
        for (const auto& entry : fs::directory_iterator(files ? FIXTURES / "files" : FIXTURES)) {
            if (is_fixture_start(entry.path())) cases.push_back({files, entry.path().stem().string()});
        }
    }
    std::sort(cases.begin(), cases.end(), [](const TProgramCase& a, const TProgramCase& b) {
        return std::tie(a.UsesFiles, a.Name) < std::tie(b.UsesFiles, b.Name);
    });
    return cases;
}

// Everything one run leaves behind.
struct TRunTrace {
    THeadlessOutcome Outcome;
    std::string Page;   // the PNG file's bytes
    std::string Midi;   // the MIDI log, when the program has a NAME.midi
    std::string Files;  // drives 1 and 2 in the .files form
};

TRunTrace run_program(const TProgramCase& program, bool fusion)
{
    const fs::path base = (program.UsesFiles ? FIXTURES / "files" : FIXTURES) / program.Name;
    const std::string unique = program.Name + "-" + std::to_string(::getpid()) + (fusion ? "-fused" : "-plain");
    const fs::path png = fs::temp_directory_path() / ("kivo-fusion-" + unique + ".png");
    const fs::path midi = fs::temp_directory_path() / ("kivo-fusion-" + unique + ".midi");
    TFixtureDrives drives;
    std::vector<std::string> args;
    std::string text;
    if (program.UsesFiles) {
        if (read_file(base.string() + ".in", text)) {
            for (const std::string& line : lines_of(text)) {
                TFileLine file;
                if (parse_file_line(line, file) && file.Drive >= 1 && file.Drive <= 2)
                    std::ofstream(drives.Drive(file.Drive) / file.Name, std::ios::binary) << file.Content;
                else
                    ADD_FAILURE() << "bad .in line: " << line;
            }
        }
        for (int d = 1; d <= 3; ++d) {
            args.push_back("--drive");
            args.push_back(std::to_string(d) + "=" + drives.Drive(d).string());
        }
    }
    if (read_file(base.string() + ".args", text)) {
        for (const std::string& line : lines_of(text)) args.push_back(line);
    }
    const bool logsMidi = fs::exists(base.string() + ".midi");
    if (logsMidi) {
        args.push_back("--midi-log");
        args.push_back(midi.string());
    }
    args.push_back("--page");
    args.push_back(png.string());
    if (!fusion) args.push_back("--no-fusion");
    args.push_back(fixture_list(base).string());

    TRunTrace trace;
    trace.Outcome = run_headless_process(args);
    read_file(png, trace.Page);
    if (logsMidi) read_file(midi, trace.Midi);
    if (program.UsesFiles) trace.Files = drives.Written();
    std::error_code ignored;
    fs::remove(png, ignored);
    fs::remove(midi, ignored);
    return trace;
}

// The alerts with the driver's own temporary drive folder, which differs from run to
// run, named alike.
std::string without_temporary_folders(const std::string& alerts)
{
    static const std::regex folder("kivo-headless-[A-Za-z0-9]{6}");
    return std::regex_replace(alerts, folder, "kivo-headless-TEMP");
}

class FusionOff : public ::testing::TestWithParam<TProgramCase> {};

TEST_P(FusionOff, LeavesWhatTheFusedRunLeaves)
{
    const TRunTrace fused = run_program(GetParam(), true);
    const TRunTrace plain = run_program(GetParam(), false);
    EXPECT_EQ(plain.Outcome.status, fused.Outcome.status) << plain.Outcome.err;
    EXPECT_EQ(plain.Outcome.out, fused.Outcome.out);
    EXPECT_EQ(without_temporary_folders(plain.Outcome.err), without_temporary_folders(fused.Outcome.err));
    EXPECT_TRUE(plain.Page == fused.Page) << "the graphics pages differ";
    EXPECT_EQ(plain.Midi, fused.Midi);
    EXPECT_EQ(plain.Files, fused.Files);
}

INSTANTIATE_TEST_SUITE_P(E2E, FusionOff, ::testing::ValuesIn(all_programs()),
                         [](const ::testing::TestParamInfo<TProgramCase>& testInfo) {
                             return (testInfo.param.UsesFiles ? "files_" : "") + testInfo.param.Name;
                         });

}  // namespace
