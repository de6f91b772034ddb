#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar.h"
#include "device_state.h"
#include "frame.h"

namespace sim {

struct DeviceOptions {
    std::string identification;  // the answer to '0'; empty: "VIDIZ" with model and serial
    uint32_t napWorkMs = 3000;   // how long a NAP operation keeps the device busy
    uint32_t reportWorkMs = 0;   // how long report commands keep the device busy
    // The computer's local clock; tests put a fixed one in.
    std::function<int64_t()> now = localNowSeconds;
};

// What the device sends back for one request string.
struct Answer {
    std::string data;  // Windows-1251, never holding frame control bytes
    DeviceStatus status{};
    uint32_t workMs = 0;  // time spent working (the device sends SYN meanwhile)
};

// The device's behaviour: request string (code and data) in, answer out. Not thread-safe;
// the frame layer serialises access.
class FiscalDevice {
public:
    explicit FiscalDevice(DeviceState state, DeviceOptions options = {});

    Answer execute(std::string_view requestString);

    const DeviceState& state() const { return deviceState; }
    DeviceState& mutableState() { return deviceState; }
    DeviceOptions& options() { return deviceOptions; }
    // The next report command produces exactly this many generated lines.
    void setNextReportLines(int count) { forcedReportLines = count; }
    // The lines that 0xE4 hands out now.
    const std::vector<std::string>& reportLines() const { return lines; }
    // Called after every change of the remembered state (for the state file).
    void setStateChanged(std::function<void(const DeviceState&)> callback);
    // The device's own clock, seconds in its calendar counting.
    int64_t clock() const;

    // Used by the command handlers.
    void setReport(std::vector<std::string> reportLines);
    void changed();

private:
    Answer dispatch(uint8_t code, std::string_view data);
    std::vector<std::string> generatedLines(int count) const;

    DeviceState deviceState;
    DeviceOptions deviceOptions;
    std::vector<std::string> lines;
    int forcedReportLines = -1;
    std::function<void(const DeviceState&)> onChange;
};

// The status bytes of a plain success, and of the failures the device reports.
DeviceStatus okStatus();
DeviceStatus syntaxErrorStatus();
DeviceStatus invalidCommandStatus();
DeviceStatus notAllowedStatus();

}  // namespace sim
