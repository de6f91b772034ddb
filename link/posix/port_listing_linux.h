#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace os {
// Appends the serial ports that a sysfs tty class folder describes, skipping ports without
// hardware and numbers already listed. False when the folder cannot be read.
bool listSysfsPorts(const std::string& sysClassTty, std::vector<uint32_t>& numbers,
                    std::vector<std::u16string>& names);
}  // namespace os
