#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "journal.h"

namespace sim {

constexpr int kParameterCount = 51;

// Everything the device remembers across power cycles. Texts are Windows-1251 bytes.
struct DeviceState {
    // parameters[n] for n = 1..51; 10, 13 and 48 to 50 are computed when read.
    std::array<std::string, kParameterCount + 1> parameters;
    int64_t clockOffset = 0;  // device clock minus the computer's local clock, seconds
    bool fiscalized = false;
    int64_t fiscalizedAt = 0;
    bool registered = false;
    int64_t registeredAt = 0;
    int xCounter = 0;
    int zCounter = 0;
    int unsentZReports = 0;
    int journalNumber = 1;
    HistoryShape history;      // regenerated on load, never stored line by line
    int historyDocuments = 0;  // the first entries of journal come from history
    std::vector<Document> journal;
    std::vector<std::string> lastOperationReport;  // lines of the last NAP operation
    bool hasLastOperation = false;
};

// A fiscalized device with owner, site and service data filled in, a generated history
// ending the day before historyEndDay (seconds of a midnight), and counters to match.
// With openUntil later than historyEndDay, the day that has begun has sales up to then.
DeviceState defaultDeviceState(int64_t historyEndDay, uint32_t seed = 20240501,
                               int64_t openUntil = 0);
// A new, never fiscalized device: identity numbers only, empty journal.
DeviceState blankDeviceState();

// Windows-1251 bytes of a UTF-8 literal, for the device's own texts.
std::string cp(std::string_view utf8);

}  // namespace sim
