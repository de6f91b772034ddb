#include "calendar.h"

#include <cstdio>
#include <ctime>

namespace sim {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// Reads exactly `width` digits at text[pos].
bool readDigits(std::string_view text, size_t pos, size_t width, int& value) {
    if (pos + width > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Parses a fixed layout: fields of given widths separated by the given characters.
std::optional<CivilTime> parseLayout(std::string_view text, char dateSep, int yearWidth) {
    const size_t dateLen = 6 + static_cast<size_t>(yearWidth);
    if (text.size() != dateLen + 9 || text[2] != dateSep || text[5] != dateSep ||
        text[dateLen] != ' ' || text[dateLen + 3] != ':' || text[dateLen + 6] != ':') {
        return std::nullopt;
    }
    CivilTime t;
    if (!readDigits(text, 0, 2, t.day) || !readDigits(text, 3, 2, t.month) ||
        !readDigits(text, 6, static_cast<size_t>(yearWidth), t.year) ||
        !readDigits(text, dateLen + 1, 2, t.hour) || !readDigits(text, dateLen + 4, 2, t.minute) ||
        !readDigits(text, dateLen + 7, 2, t.second)) {
        return std::nullopt;
    }
    if (yearWidth == 2) {
        t.year += 2000;
    }
    if (!isValid(t)) {
        return std::nullopt;
    }
    return t;
}

}  // namespace

bool isValid(const CivilTime& t) {
    return t.year >= 1970 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

int64_t toSeconds(const CivilTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 +
           t.second;
}

CivilTime fromSeconds(int64_t seconds) {
    int64_t days = seconds / kSecondsPerDay;
    int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int64_t localNowSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return toSeconds({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec});
}

std::optional<int64_t> parseParameterTime(std::string_view text) {
    const auto t = parseLayout(text, '.', 4);
    return t ? std::optional<int64_t>(toSeconds(*t)) : std::nullopt;
}

std::optional<int64_t> parseReportTime(std::string_view text) {
    const auto t = parseLayout(text, '-', 2);
    return t ? std::optional<int64_t>(toSeconds(*t)) : std::nullopt;
}

std::string formatParameterTime(int64_t seconds) {
    const CivilTime t = fromSeconds(seconds);
    char out[40];
    std::snprintf(out, sizeof out, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute, t.second);
    return out;
}

std::string formatDate(int64_t seconds) {
    return formatParameterTime(seconds).substr(0, 10);
}

std::string formatDateTime(int64_t seconds) {
    return formatParameterTime(seconds).substr(0, 16);
}

}  // namespace sim
