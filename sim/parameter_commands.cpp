// Reading and writing the numbered parameters, with the checks the device applies.
#include <cstdint>
#include <string>

#include "calendar.h"
#include "commands.h"

namespace sim {

namespace {

enum class Kind { Text, Digits, Phone, Number, Address, Time, ReadOnly };

struct Rule {
    Kind kind = Kind::Text;
    int low = 0;
    int high = 0;
    size_t maxLength = 64;
};

Rule ruleFor(int number) {
    switch (number) {
        case 6:
        case 7:
        case 8:
        case 9:
            return {Kind::Number, 0, 9999};
        case 10:
        case 46:
        case 47:
            return {Kind::Time};
        case 11:
        case 12:
        case 13:
        case 16:
        case 17:
        case 18:
        case 48:
        case 49:
        case 50:
            return {Kind::ReadOnly};
        case 19:
            return {Kind::Number, 0, 2};
        case 25:
            return {Kind::Number, 1, 65535};
        case 26:
            return {Kind::Address};
        case 28:
        case 45:
            return {Kind::Number, 0, 3};
        case 29:
            return {Kind::Number, 127, 132};
        case 1:
        case 27:
        case 44:
            return {Kind::Digits, 0, 0, 13};
        case 23:
            return {Kind::Phone, 0, 0, 15};
        case 24:
            return {Kind::Digits, 0, 0, 8};
        case 51:
            return {Kind::Digits, 0, 0, 15};
        case 2:
        case 3:
        case 4:
        case 5:
        case 30:
        case 32:
        case 38:
            return {Kind::Text, 0, 0, 72};
        default:
            return {Kind::Text};
    }
}

// Four decimal numbers 0..255 joined by single dots, digits only.
bool validAddress(std::string_view text) {
    int parts = 0;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        const size_t end = dot == std::string_view::npos ? text.size() : dot;
        int value = 0;
        if (end - start > 3 || !parseNumber(text.substr(start, end - start), 0, 255, value) ||
            ++parts > 4) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return parts == 4;
        }
        start = dot + 1;
    }
}

// Texts stay printable so that they never collide with the frame's control bytes.
bool printable(std::string_view text) {
    for (char c : text) {
        if (static_cast<uint8_t>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

bool digitsOnly(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A phone number in international form: digits, optionally after one leading "+"; the
// plus does not count towards the length. Empty means no number is known.
bool validPhone(std::string_view text, size_t maxDigits) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty()) {
            return false;
        }
    }
    return text.size() <= maxDigits && digitsOnly(text);
}

bool valueFits(const Rule& rule, std::string_view value) {
    int number = 0;
    switch (rule.kind) {
        case Kind::Number:
            return parseNumber(value, rule.low, rule.high, number);
        case Kind::Address:
            return validAddress(value);
        case Kind::Time:
            return parseParameterTime(value).has_value();
        case Kind::Digits:
            return value.size() <= rule.maxLength && digitsOnly(value);
        case Kind::Phone:
            return validPhone(value, rule.maxLength);
        case Kind::Text:
            return value.size() <= rule.maxLength && printable(value);
        case Kind::ReadOnly:
            return false;
    }
    return false;
}

std::string computedValue(const FiscalDevice& device, int number) {
    const DeviceState& s = device.state();
    switch (number) {
        case 10:
            return formatParameterTime(device.clock());
        case 13:
            return s.fiscalized ? "1 " + formatParameterTime(s.fiscalizedAt) : "0";
        case 48:
            return std::to_string(s.xCounter);
        case 49:
            return std::to_string(s.zCounter);
        case 50:
            return std::to_string(s.unsentZReports);
        default:
            return s.parameters[static_cast<size_t>(number)];
    }
}

int64_t lastDocumentTime(const DeviceState& s) {
    return s.journal.empty() ? 0 : s.journal.back().time;
}

Answer storeValue(FiscalDevice& device, int number, std::string_view value) {
    DeviceState& s = device.mutableState();
    if (number == 10) {
        const int64_t when = *parseParameterTime(value);
        // The fiscal memory never accepts a record older than the last one, so the clock
        // may not be put back behind it.
        if (s.fiscalized && when < lastDocumentTime(s)) {
            return statusAnswer(notAllowedStatus());
        }
        s.clockOffset = when - device.options().now();
    } else {
        s.parameters[static_cast<size_t>(number)] = std::string(value);
    }
    device.changed();
    return okAnswer();
}

}  // namespace

Answer readParameter(FiscalDevice& device, std::string_view data) {
    int number = 0;
    if (!parseNumber(data, 1, kParameterCount, number)) {
        return statusAnswer(syntaxErrorStatus());
    }
    return okAnswer(computedValue(device, number));
}

Answer writeParameter(FiscalDevice& device, std::string_view data) {
    const size_t comma = data.find(',');
    int number = 0;
    if (comma == std::string_view::npos ||
        !parseNumber(data.substr(0, comma), 1, kParameterCount, number)) {
        return statusAnswer(syntaxErrorStatus());
    }
    const Rule rule = ruleFor(number);
    if (rule.kind == Kind::ReadOnly) {
        return statusAnswer(notAllowedStatus());
    }
    const std::string_view value = data.substr(comma + 1);
    if (!valueFits(rule, value)) {
        return statusAnswer(syntaxErrorStatus());
    }
    return storeValue(device, number, value);
}

}  // namespace sim
