#pragma once

// The command handlers of the device, one family per file.
#include <string>
#include <string_view>
#include <vector>

#include "fiscal_device.h"

namespace sim {

// "ERROR 000\r\n": the answer header of a successful long command.
extern const char kSuccessHeader[];
// The firmware version, as the version command answers it: model, version, build date.
extern const char kVersionText[];

Answer okAnswer(std::string data = {});
Answer statusAnswer(const DeviceStatus& status);
// An answer header with its code, followed by the device's description (UTF-8 given).
Answer errorHeader(int code, std::string_view descriptionUtf8);
// Strict decimal number: digits only, within [low, high].
bool parseNumber(std::string_view text, int low, int high, int& value);

Answer readParameter(FiscalDevice& device, std::string_view data);
Answer writeParameter(FiscalDevice& device, std::string_view data);

Answer writeVatRates(FiscalDevice& device, std::string_view data);
Answer testSale(FiscalDevice& device, std::string_view data);
Answer zReport(FiscalDevice& device, std::string_view data);
Answer fiscalize(FiscalDevice& device, std::string_view data);
Answer xReport(FiscalDevice& device, std::string_view data);
Answer initializeJournal(FiscalDevice& device, std::string_view data);

Answer registerDevice(FiscalDevice& device, std::string_view data);
Answer deregisterDevice(FiscalDevice& device, std::string_view data);
Answer changeRegistration(FiscalDevice& device, std::string_view data);
Answer deviceInformation(FiscalDevice& device, std::string_view data);
Answer lastOperationReport(FiscalDevice& device, std::string_view data);

Answer journalByDate(FiscalDevice& device, std::string_view data);
Answer journalByNumber(FiscalDevice& device, std::string_view data);
Answer memoryByDate(FiscalDevice& device, std::string_view data, bool detailed);
Answer memoryByNumber(FiscalDevice& device, std::string_view data, bool detailed);
Answer reportLine(FiscalDevice& device, std::string_view data);

}  // namespace sim
