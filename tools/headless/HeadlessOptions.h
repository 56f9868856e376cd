#pragma once
// The command line of kivo-headless:
//   kivo-headless [--drive N=DIR]... [--keys TEXT] [--mode disk|dos]
//                 [--encoding utf8|sjis|jis|auto] [--timeout SECONDS]
//                 [--page FILE.png] [--midi-log FILE]
//                 [--clock real|simulated] [--local-time YYYY-MM-DDTHH:MM:SS]
//                 [--no-fusion] [--memory-limit MIB] LIST
//   kivo-headless --help
//
// --clock simulated runs the machine and the music player on a clock that moves only
// while both wait, starting one second after start-up, with the music preferences at
// their defaults: MIDI stamps, SLEEP, SYSTEMTIME and INP's counter come out the same on
// every run, and queued music plays out after the program has ended. --local-time sets
// the date and time of day at the start of a simulated run (DATE$, TIME$). --no-fusion
// runs every code through its handler, without the dispatch loop's fast paths, so that
// tests can compare a run both ways. --memory-limit sets the run's memory budget (and
// the compiled list's) below its default, so that tests can reach it quickly.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct THeadlessOptions {
    std::map<int, std::string> Drives;  // drive number 1 to 14 -> folder
    std::string Keys;                   // typed after the run has started, escapes resolved
    int32_t CompatModePref = 0;         // 0 detect, 2 DISK-BASIC, 3 DOS-BASIC
    int32_t Encoding = 0;               // as the open panel's Encoding menu: 0 Auto Detect, 2 UTF-8, 3 Shift-JIS, 4 JIS
    double TimeoutSeconds = 10;
    std::optional<std::string> PagePng;
    std::optional<std::string> MidiLog;
    bool SimulatedClock = false;
    std::optional<std::tm> LocalTime;  // only with the simulated clock
    bool Fusion = true;
    std::optional<std::size_t> MemoryLimit;  // in bytes
    std::string ListPath;
    bool Help = false;  // --help: print the usage, run nothing
};

// Reads the arguments (without the program name). False with a message in `error`
// for anything malformed.
bool parse_headless_options(const std::vector<std::string>& args, THeadlessOptions& options, std::string& error);

// Resolves the escapes of --keys: \r \n \t \e \\ and \xHH; \F1 to \F9 and \F0 (F10)
// for a function key, kept as a zero byte and the key number; \w{MS} to hold typing for
// MS milliseconds of the machine's clock, kept as a zero byte, 'w', the digits and ';'
// (HeadlessTypist.h). False for an unknown or cut escape.
bool unescape_keys(const std::string& text, std::string& keys, std::string& error);

std::string headless_usage();
