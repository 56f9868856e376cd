#pragma once
// The command line of kivo-headless:
//   kivo-headless [--drive N=DIR]... [--keys TEXT] [--mode disk|dos]
//                 [--encoding utf8|sjis|jis|auto] [--timeout SECONDS]
//                 [--page FILE.png] [--midi-log FILE] LIST

#include <cstdint>
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
    std::string ListPath;
};

// Reads the arguments (without the program name). False with a message in `error`
// for anything malformed.
bool parse_headless_options(const std::vector<std::string>& args, THeadlessOptions& options, std::string& error);

// Resolves the escapes of --keys: \r \n \t \e \\ and \xHH, and \F1 to \F9 and \F0 (F10)
// for a function key, kept as a zero byte and the key number. False for an unknown or
// cut escape.
bool unescape_keys(const std::string& text, std::string& keys, std::string& error);

std::string headless_usage();
