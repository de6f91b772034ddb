#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame.h"

namespace sim {

// Readable log lines: the time, SEQ, command code, data in hex and as text.
std::string requestLogLine(uint8_t sequence, std::string_view request);
std::string answerLogLine(uint8_t sequence, uint8_t code, std::string_view data,
                          const DeviceStatus& status, std::string_view result);
std::string eventLogLine(std::string_view text);

}  // namespace sim
