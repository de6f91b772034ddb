#include "fiscal_device.h"

#include <cstdio>

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

Answer FiscalDevice::dispatch(uint8_t code, std::string_view data) {
    switch (code) {
        case '0':
            return okAnswer(deviceOptions.identification.empty() ? identificationText(deviceState)
                                                                 : deviceOptions.identification);
        case 0xFE:
            return okAnswer("ZOVUZ ZV-01 v1.07.3 12.05.2024");
        case '1':
            return readParameter(*this, data);
        case '2':
            return writeParameter(*this, data);
        case '3':
            return registerDevice(*this, data);
        case '4':
            return deregisterDevice(*this, data);
        case '5':
            return changeRegistration(*this, data);
        case '6':
            return deviceInformation(*this, data);
        case 0xFF:
            return lastOperationReport(*this, data);
        case '7':
            return writeVatRates(*this, data);
        case '8':
            return testSale(*this, data);
        case '9':
            return zReport(*this, data);
        case ':':
            return fiscalize(*this, data);
        case 'E':
            return xReport(*this, data);
        case ';':
            return initializeJournal(*this, data);
        case 0xC8:
            return journalByDate(*this, data);
        case 0xC9:
            return journalByNumber(*this, data);
        case 'O':
            return memoryByDate(*this, data, false);
        case '^':
            return memoryByDate(*this, data, true);
        case '_':
            return memoryByNumber(*this, data, false);
        case 'I':
            return memoryByNumber(*this, data, true);
        case 0xE4:
            return reportLine(*this, data);
        default:
            return statusAnswer(invalidCommandStatus());
    }
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
