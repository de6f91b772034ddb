#pragma once

// The printed form of journal documents and fiscal-memory records, line by line, in
// Windows-1251. Lines stay short enough for one answer frame each.
#include <string>
#include <vector>

#include "device_state.h"

namespace sim {

constexpr int kLineWidth = 42;

std::string money(int64_t stotinki);
std::string vatRateText(const std::string& hundredths);  // "20,00%"

// The owner and device lines that head every report.
std::vector<std::string> reportHeading(const DeviceState& state, std::string_view titleUtf8);
void appendDocument(std::vector<std::string>& lines, const DeviceState& state, const Document& doc);
void appendMemoryRecord(std::vector<std::string>& lines, const DeviceState& state,
                        const Document& z, bool detailed);
// A left text and a right text on one line of kLineWidth characters.
std::string columns(const std::string& left, const std::string& right);

}  // namespace sim
