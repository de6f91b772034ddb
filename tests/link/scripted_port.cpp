#include "scripted_port.h"

#include "frame.h"

std::string makeResponseFrame(uint8_t sequence, uint8_t code, const std::string& data,
                              const DeviceStatus& status) {
    std::string f;
    const size_t total = data.size() + frame::kResponseOverhead;
    f.push_back(static_cast<char>(frame::kStart));
    f.push_back(static_cast<char>(total + 26));
    f.push_back(static_cast<char>(sequence));
    f.push_back(static_cast<char>(code));
    f += data;
    f.push_back(static_cast<char>(frame::kSeparator));
    for (uint8_t s : status) {
        f.push_back(static_cast<char>(s));
    }
    f.push_back(static_cast<char>(frame::kEndOfData));
    // The host skips 0x02 in its sum (a received 0x00 becomes 0x02); a 0x00 adds nothing.
    const auto sum = checksumCharacters(frameSum(std::string_view(f).substr(1), 0x02));
    f.append(sum.begin(), sum.end());
    f.push_back(static_cast<char>(frame::kEnd));
    return f;
}
