#pragma once

#include <optional>
#include <string>

#include "device_state.h"

namespace sim {

// The device's memory in a readable text file (UTF-8). The generated history is not
// stored; it is made again from its seed and end day.
std::string serializeState(const DeviceState& state);
std::optional<DeviceState> parseState(const std::string& text, std::string& error);

// Written through a temporary file and a rename, so a crash never leaves half a file.
bool saveStateFile(const std::string& path, const DeviceState& state, std::string& error);
// nullopt with an empty error when the file does not exist.
std::optional<DeviceState> loadStateFile(const std::string& path, std::string& error);

}  // namespace sim
