#include "fiscal_device.h"

#include <cstdio>
#include <map>

#include "commands.h"

namespace sim {

namespace {

// Real devices keep bit 7 set in every status byte.
constexpr uint8_t kStatusBase = 0x80;
constexpr uint8_t kErrorBit = 0x20;

std::string identificationText(const DeviceState& state) {
    return "VIDIZ ZV-01 " + state.parameters[11];
}

}  // namespace

const char kSuccessHeader[] = "ERROR 000\r\n";
const char kVersionText[] = "ZOVUZ ZV-01 v1.07.3 12.05.2024";

DeviceStatus okStatus() {
    DeviceStatus s;
    s.fill(kStatusBase);
    return s;
}

DeviceStatus syntaxErrorStatus() {
    DeviceStatus s = okStatus();
    s[0] |= kErrorBit | 0x01;
    return s;
}

DeviceStatus invalidCommandStatus() {
    DeviceStatus s = okStatus();
    s[0] |= kErrorBit | 0x02;
    return s;
}

DeviceStatus notAllowedStatus() {
    DeviceStatus s = okStatus();
    s[0] |= kErrorBit;
    s[1] |= 0x02;
    return s;
}

Answer okAnswer(std::string data) {
    return {std::move(data), okStatus(), 0};
}

Answer statusAnswer(const DeviceStatus& status) {
    return {{}, status, 0};
}

Answer errorHeader(int code, std::string_view descriptionUtf8) {
    char header[16];
    std::snprintf(header, sizeof header, "ERROR %03d\r\n", code % 1000);
    return okAnswer(header + cp(descriptionUtf8));
}

bool parseNumber(std::string_view text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

FiscalDevice::FiscalDevice(DeviceState state, DeviceOptions options)
    : deviceState(std::move(state)), deviceOptions(std::move(options)) {}

void FiscalDevice::setStateChanged(std::function<void(const DeviceState&)> callback) {
    onChange = std::move(callback);
}

void FiscalDevice::changed() {
    if (onChange) {
        onChange(deviceState);
    }
}

int64_t FiscalDevice::clock() const {
    return deviceOptions.now() + deviceState.clockOffset;
}

void FiscalDevice::setReport(std::vector<std::string> reportLines) {
    lines = std::move(reportLines);
}

Answer FiscalDevice::execute(std::string_view requestString) {
    if (requestString.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    const auto code = static_cast<uint8_t>(requestString[0]);
    const std::string_view data = requestString.substr(1);
    Answer answer = dispatch(code, data);
    if (code != 0xE4 && answer.data.rfind(kSuccessHeader, 0) == 0 && forcedReportLines >= 0 &&
        code != '6') {
        setReport(generatedLines(forcedReportLines));
        forcedReportLines = -1;
    }
    return answer;
}

namespace {

using Handler = Answer (*)(FiscalDevice&, std::string_view);

// The command table: code byte to handler; codes not listed are invalid commands.
const std::map<uint8_t, Handler>& handlers() {
    static const std::map<uint8_t, Handler> table = {
        {'1', readParameter},
        {'2', writeParameter},
        {'3', registerDevice},
        {'4', deregisterDevice},
        {'5', changeRegistration},
        {'6', deviceInformation},
        {0xFF, lastOperationReport},
        {'7', writeVatRates},
        {'8', testSale},
        {'9', zReport},
        {':', fiscalize},
        {'E', xReport},
        {';', initializeJournal},
        {0xC8, journalByDate},
        {0xC9, journalByNumber},
        {'O', [](FiscalDevice& d, std::string_view v) { return memoryByDate(d, v, false); }},
        {'^', [](FiscalDevice& d, std::string_view v) { return memoryByDate(d, v, true); }},
        {'_', [](FiscalDevice& d, std::string_view v) { return memoryByNumber(d, v, false); }},
        {'I', [](FiscalDevice& d, std::string_view v) { return memoryByNumber(d, v, true); }},
        {0xE4, reportLine},
    };
    return table;
}

}  // namespace

Answer FiscalDevice::dispatch(uint8_t code, std::string_view data) {
    switch (code) {
        case '0':
            return okAnswer(deviceOptions.identification.empty() ? identificationText(deviceState)
                                                                 : deviceOptions.identification);
        case 0xFE:
            return okAnswer(kVersionText);
        default:
            break;
    }
    const auto it = handlers().find(code);
    return it == handlers().end() ? statusAnswer(invalidCommandStatus()) : it->second(*this, data);
}

// Lines of a made-up sales listing, as long as a real report's, for tests and benchmarks
// that need a report of a given length.
std::vector<std::string> FiscalDevice::generatedLines(int count) const {
    static const std::string kPrefix = cp("Ред ");
    static const std::string kItem = cp("Тестов артикул");
    static const std::string kGroups[] = {cp("А"), cp("Б"), cp("В"), cp("Г")};
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "%06d %-20s %3d x %5d.%02d ", i, kItem.c_str(), i % 7 + 1,
                      i % 50, i % 100);
        out.push_back(kPrefix + line + kGroups[i % 4]);
    }
    return out;
}

}  // namespace sim
