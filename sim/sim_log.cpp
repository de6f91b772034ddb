#include "sim_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "cp1251.h"

namespace sim {

namespace {

std::string timestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char out[32];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return out;
}

std::string hex(std::string_view bytes) {
    std::string out;
    char two[4];
    for (char c : bytes) {
        std::snprintf(two, sizeof two, "%02X", static_cast<uint8_t>(c));
        if (!out.empty()) {
            out += ' ';
        }
        out += two;
    }
    return out;
}

// Windows-1251 shown as UTF-8, with control characters as dots so each entry stays
// on one line.
std::string text(std::string_view bytes) {
    std::string printable(bytes);
    for (char& c : printable) {
        if (static_cast<uint8_t>(c) < 0x20) {
            c = '.';
        }
    }
    return utf16ToUtf8(cp1251ToUtf16(printable));
}

std::string codeText(uint8_t code) {
    char out[8];
    std::snprintf(out, sizeof out, "%02X", code);
    return out;
}

}  // namespace

std::string requestLogLine(uint8_t sequence, std::string_view request) {
    const uint8_t code = request.empty() ? 0 : static_cast<uint8_t>(request[0]);
    const std::string_view data = request.empty() ? request : request.substr(1);
    char seq[8];
    std::snprintf(seq, sizeof seq, "%02X", sequence);
    return timestamp() + " <- SEQ " + seq + " CMD " + codeText(code) + " [" + hex(data) + "] \"" +
           text(data) + "\"";
}

std::string answerLogLine(uint8_t sequence, uint8_t code, std::string_view data,
                          const DeviceStatus& status, std::string_view result) {
    char seq[8];
    std::snprintf(seq, sizeof seq, "%02X", sequence);
    std::string statusText =
        hex(std::string_view(reinterpret_cast<const char*>(status.data()), status.size()));
    return timestamp() + " -> SEQ " + seq + " CMD " + codeText(code) + " [" + hex(data) + "] \"" +
           text(data) + "\" STATUS " + statusText + " " + std::string(result);
}

std::string eventLogLine(std::string_view what) {
    return timestamp() + " -- " + std::string(what);
}

}  // namespace sim
