#include "machine/HostInterfaces.h"

#include <cstring>

namespace {

// The value of the leading decimal digits of the two characters at p; a field that
// does not start with a digit reads as −1, so it fails every range check.
int two_digit_field(const char* p)
{
    if (p[0] < '0' || p[0] > '9') return -1;
    int value = p[0] - '0';
    if (p[1] >= '0' && p[1] <= '9') value = value * 10 + (p[1] - '0');
    return value;
}

}  // namespace

bool parse_on_time_text(const char* text, int& hours, int& minutes, int& seconds)
{
    if (text == nullptr || std::strlen(text) != 8 || text[2] != ':' || text[5] != ':') return false;
    hours = two_digit_field(text);
    minutes = two_digit_field(text + 3);
    seconds = two_digit_field(text + 6);
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 && seconds <= 59;
}
