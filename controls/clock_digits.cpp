#include "clock_digits.h"

#include <cstdio>

namespace {

// A character of the formatted text as a digit; anything else (a year past 9999 would push
// a sign or more digits in) shows as 0 rather than indexing outside the digit strip.
uint8_t digitAt(const char* text, size_t position) {
    const char c = text[position];
    return (c >= '0' && c <= '9') ? static_cast<uint8_t>(c - '0') : 0;
}

}  // namespace

ClockDigits clockDigits(const LocalDateTime& when) {
    char date[32] = {};
    char time[32] = {};
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", when.day, when.month, when.year);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", when.hour, when.minute, when.second);
    ClockDigits digits;
    constexpr size_t datePositions[] = {0, 1, 3, 4, 6, 7, 8, 9};
    constexpr size_t timePositions[] = {0, 1, 3, 4, 6, 7};
    for (size_t i = 0; i < digits.dateDigits.size(); ++i) {
        digits.dateDigits[i] = digitAt(date, datePositions[i]);
    }
    for (size_t i = 0; i < digits.timeDigits.size(); ++i) {
        digits.timeDigits[i] = digitAt(time, timePositions[i]);
    }
    return digits;
}
