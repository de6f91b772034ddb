#pragma once

#include <string>

#include "frame.h"

// The one command context of the process. A caller fills commandRequest, runs
// ExecuteCommand and reads commandResponse, deviceStatus or lastErrorText. Like the port
// it is unguarded: only one exchange runs at a time (see the runners for workers).
struct CommandContext {
    std::string commandRequest;   // command code byte, then data bytes
    std::string commandResponse;  // data of the last accepted answer
    DeviceStatus deviceStatus{};
    std::u16string lastErrorText;  // replaced by each failure, kept by successes
    int lastResult = 0;            // 1 or 0, set by the runners
    std::string reportText;        // lines collected by a report read-out, CR LF ended
};

CommandContext& commandContext();

// Sends commandRequest; false on a link error or a status error bit, with the reason in
// lastErrorText.
bool ExecuteCommand();

std::u16string LinkResultText(int code);
// The texts of the set detail bits, in table order.
std::u16string StatusText(const DeviceStatus& status);
bool StatusFailed(const DeviceStatus& status);
std::u16string LastErrorText();

// Runs one command given as UTF-16 (one byte per code unit) on the calling thread.
bool RunCommand(const std::u16string& command, std::u16string& response);

// The prefixes of the messages that report a failed command to the user.
extern const std::u16string kCommunicationErrorPrefix;
extern const std::u16string kReadParametersErrorPrefix;
extern const std::u16string kWriteParametersErrorPrefix;
