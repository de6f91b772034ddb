#pragma once

// A device on a fixed clock with a known history, for tests that need exact dates.
#include "calendar.h"
#include "fiscal_device.h"

namespace sim::testing {

// 1 March 2024 at midnight: the generated history covers February 2024.
inline int64_t historyEnd() {
    return toSeconds({2024, 3, 1, 0, 0, 0});
}

inline DeviceOptions fixedClock(int64_t now = historyEnd() + 9 * 3600) {
    DeviceOptions options;
    options.now = [now] { return now; };
    options.napWorkMs = 0;
    return options;
}

inline FiscalDevice defaultDevice() {
    return FiscalDevice(defaultDeviceState(historyEnd()), fixedClock());
}

inline std::string request(uint8_t code, std::string_view data = {}) {
    return std::string(1, static_cast<char>(code)) + std::string(data);
}

}  // namespace sim::testing
