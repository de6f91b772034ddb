#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The device keeps a plain calendar clock with no time zone: seconds counted from
// 1 January 1970 00:00:00 of its own wall clock.
struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

int64_t toSeconds(const CivilTime& t);
CivilTime fromSeconds(int64_t seconds);
bool isValid(const CivilTime& t);

// The computer's local wall clock in the device's counting.
int64_t localNowSeconds();

// "dd.mm.yyyy hh:mm:ss", the parameter form; strict: every field present and valid.
std::optional<int64_t> parseParameterTime(std::string_view text);
std::string formatParameterTime(int64_t seconds);
// "dd-mm-yy hh:mm:ss", the form of report requests; years 00-99 are 2000-2099.
std::optional<int64_t> parseReportTime(std::string_view text);
// Short forms for report lines.
std::string formatDate(int64_t seconds);      // dd.mm.yyyy
std::string formatDateTime(int64_t seconds);  // dd.mm.yyyy hh:mm

constexpr int64_t kSecondsPerDay = 86400;

}  // namespace sim
