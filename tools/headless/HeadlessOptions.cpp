#include "tools/headless/HeadlessOptions.h"

#include <charconv>
#include <cmath>

#include "listfiles/ListLoader.h"
#include "machine/vm/MemoryBudget.h"

namespace {

constexpr int64_t MAX_KEYS_WAIT_MILLIS = 86400000;  // a day
// --memory-limit only lowers the budget: at most its default.
constexpr size_t MAX_MEMORY_LIMIT_MIB = TMemoryBudget::DEFAULT_LIMIT >> 20;

bool hex_digit(char c, int& value)
{
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else
        return false;
    return true;
}

bool parse_drive(const std::string& argument, THeadlessOptions& options, std::string& error)
{
    const size_t eq = argument.find('=');
    int number = 0;
    const char* end = argument.data() + (eq == std::string::npos ? argument.size() : eq);
    const auto [ptr, ec] = std::from_chars(argument.data(), end, number);
    if (eq == std::string::npos || ec != std::errc() || ptr != end || number < 1 || number > 14 ||
        eq + 1 >= argument.size()) {
        error = "--drive wants N=DIR with N from 1 to 14: " + argument;
        return false;
    }
    options.Drives[number] = argument.substr(eq + 1);
    return true;
}

// "YYYY-MM-DDTHH:MM:SS", every field in its range.
bool parse_local_time(const std::string& text, std::tm& time)
{
    auto number = [&](size_t at, size_t digits, int low, int high, int& out) {
        if (at + digits > text.size()) return false;
        const char* begin = text.data() + at;
        const auto [ptr, ec] = std::from_chars(begin, begin + digits, out);
        return ec == std::errc() && ptr == begin + digits && out >= low && out <= high;
    };
    int year, month, day, hour, minute, second;
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || !number(0, 4, 1900, 9999, year) || !number(5, 2, 1, 12, month) ||
        !number(8, 2, 1, 31, day) || !number(11, 2, 0, 23, hour) || !number(14, 2, 0, 59, minute) ||
        !number(17, 2, 0, 59, second))
        return false;
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return false;
    time = std::tm{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return true;
}

}  // namespace

bool unescape_keys(const std::string& text, std::string& keys, std::string& error)
{
    keys.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            keys += text[i];
            continue;
        }
        if (++i >= text.size()) {
            error = "--keys ends inside an escape";
            return false;
        }
        switch (text[i]) {
        case 'r': keys += '\r'; break;
        case 'n': keys += '\n'; break;
        case 't': keys += '\t'; break;
        case 'e': keys += '\x1b'; break;
        case '\\': keys += '\\'; break;
        case 'F': {
            // A function key: \F1 to \F9, \F0 for F10; kept as a zero byte and the
            // key's number, which the typist presses as the run window would.
            if (i + 1 >= text.size() || text[i + 1] < '0' || text[i + 1] > '9') {
                error = "--keys: \\F wants a digit (0 for F10)";
                return false;
            }
            keys += '\0';
            keys += static_cast<char>(text[i + 1] == '0' ? 10 : text[i + 1] - '0');
            ++i;
            break;
        }
        case 'w': {
            // Hold typing: \w{MILLISECONDS}, kept as a zero byte, 'w', the digits and ';'.
            const size_t close = i + 1 < text.size() && text[i + 1] == '{' ? text.find('}', i + 2) : std::string::npos;
            int64_t millis = -1;
            if (close != std::string::npos && close > i + 2) {
                const char* first = text.data() + i + 2;
                const char* last = text.data() + close;
                const auto [ptr, ec] = std::from_chars(first, last, millis);
                if (ec != std::errc() || ptr != last) millis = -1;
            }
            if (millis < 0 || millis > MAX_KEYS_WAIT_MILLIS || text[i + 2] == '-') {
                error = "--keys: \\w wants {MILLISECONDS}, 0 to " + std::to_string(MAX_KEYS_WAIT_MILLIS);
                return false;
            }
            keys += '\0';
            keys += 'w';
            keys += std::to_string(millis);
            keys += ';';
            i = close;
            break;
        }
        case 'x': {
            int high, low;
            if (i + 2 >= text.size() || !hex_digit(text[i + 1], high) || !hex_digit(text[i + 2], low)) {
                error = "--keys: \\x wants two hexadecimal digits";
                return false;
            }
            keys += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: error = std::string("--keys: unknown escape \\") + text[i]; return false;
        }
    }
    return true;
}

bool parse_headless_options(const std::vector<std::string>& args, THeadlessOptions& options, std::string& error)
{
    bool haveList = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " wants a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help") {
            options.Help = true;
            return true;
        } else if (arg == "--drive") {
            if (!value(v) || !parse_drive(v, options, error)) return false;
        } else if (arg == "--keys") {
            if (!value(v) || !unescape_keys(v, options.Keys, error)) return false;
        } else if (arg == "--mode") {
            if (!value(v)) return false;
            if (v == "disk")
                options.CompatModePref = 2;
            else if (v == "dos")
                options.CompatModePref = 3;
            else {
                error = "--mode wants disk or dos";
                return false;
            }
        } else if (arg == "--encoding") {
            if (!value(v)) return false;
            if (v == "auto")
                options.Encoding = LIST_ENCODING_AUTO_DETECT;
            else if (v == "utf8")
                options.Encoding = LIST_ENCODING_UTF8;
            else if (v == "sjis")
                options.Encoding = LIST_ENCODING_SHIFT_JIS;
            else if (v == "jis")
                options.Encoding = LIST_ENCODING_JIS;
            else {
                error = "--encoding wants utf8, sjis, jis or auto";
                return false;
            }
        } else if (arg == "--timeout") {
            if (!value(v)) return false;
            double seconds = 0;
            const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), seconds);
            if (ec != std::errc() || ptr != v.data() + v.size() || !(seconds > 0) || !std::isfinite(seconds)) {
                error = "--timeout wants a positive number of seconds";
                return false;
            }
            options.TimeoutSeconds = seconds;
        } else if (arg == "--page") {
            if (!value(v)) return false;
            options.PagePng = v;
        } else if (arg == "--midi-log") {
            if (!value(v)) return false;
            options.MidiLog = v;
        } else if (arg == "--clock") {
            if (!value(v)) return false;
            if (v == "real")
                options.SimulatedClock = false;
            else if (v == "simulated")
                options.SimulatedClock = true;
            else {
                error = "--clock wants real or simulated";
                return false;
            }
        } else if (arg == "--local-time") {
            if (!value(v)) return false;
            std::tm time{};
            if (!parse_local_time(v, time)) {
                error = "--local-time wants YYYY-MM-DDTHH:MM:SS: " + v;
                return false;
            }
            options.LocalTime = time;
        } else if (arg == "--no-fusion") {
            options.Fusion = false;
        } else if (arg == "--memory-limit") {
            if (!value(v)) return false;
            size_t mib = 0;
            const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), mib);
            if (ec != std::errc() || ptr != v.data() + v.size() || mib == 0 || mib > MAX_MEMORY_LIMIT_MIB) {
                error = "--memory-limit wants a whole number of MiB from 1 to " + std::to_string(MAX_MEMORY_LIMIT_MIB);
                return false;
            }
            options.MemoryLimit = mib << 20;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (haveList) {
            error = "only one program list may be given";
            return false;
        } else {
            options.ListPath = arg;
            haveList = true;
        }
    }
    if (!haveList) {
        error = "no program list given";
        return false;
    }
    if (options.LocalTime && !options.SimulatedClock) {
        error = "--local-time needs --clock simulated";
        return false;
    }
    return true;
}

std::string headless_usage()
{
    return "usage: kivo-headless [--drive N=DIR]... [--keys TEXT] [--mode disk|dos]\n"
           "                     [--encoding utf8|sjis|jis|auto] [--timeout SECONDS]\n"
           "                     [--page FILE.png] [--midi-log FILE] [--clock real|simulated]\n"
           "                     [--local-time YYYY-MM-DDTHH:MM:SS] [--no-fusion]\n"
           "                     [--memory-limit MIB] LIST\n"
           "       kivo-headless --help\n"
           "Runs the program LIST without a window and prints its text screen.\n"
           "--keys types TEXT once the run has started; escapes: \\r \\n \\t \\e \\\\ \\xHH,\n"
           "  \\F1 to \\F9 and \\F0 (F10) press a function key, \\w{MS} holds the typing until\n"
           "  MS milliseconds of the machine's clock have passed since the start or the\n"
           "  previous \\w. With --clock simulated, where time moves only while the program\n"
           "  waits (SLEEP, INPUT, music), every key then arrives at the same moment of each run.\n"
           "--no-fusion runs every code through its plain handler (for comparing runs).\n"
           "--memory-limit lowers what a run may keep, and a compiled list may take, to MIB\n"
           "  mebibytes (for tests; the default is 1024).\n"
           "Exit status: 0 ended, 1 run-time error, 2 compile error, 3 time-out, 4 bad arguments.\n";
}
