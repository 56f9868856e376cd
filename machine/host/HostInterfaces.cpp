#include "machine/host/HostInterfaces.h"

#include <cctype>
#include <cstring>

namespace {

// A two-character field of the time text read as strtol reads base 10: leading
// blanks, a sign, then the digits up to the first other character. A field without
// a digit reads as -1, so it fails every range check.
int time_field(const char* p)
{
    const char* q = p;
    const char* const end = p + 2;
    while (q < end && std::isspace(static_cast<unsigned char>(*q))) ++q;
    const bool negative = q < end && *q == '-';
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q == end || !std::isdigit(static_cast<unsigned char>(*q))) return -1;
    int value = 0;
    for (; q < end && std::isdigit(static_cast<unsigned char>(*q)); ++q) value = value * 10 + (*q - '0');
    return negative && value != 0 ? -1 : value;
}

}  // namespace

bool parse_on_time_text(const char* text, int& hours, int& minutes, int& seconds)
{
    if (text == nullptr || std::strlen(text) != 8 || text[2] != ':' || text[5] != ':') return false;
    hours = time_field(text);
    minutes = time_field(text + 3);
    seconds = time_field(text + 6);
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 && seconds <= 59;
}
