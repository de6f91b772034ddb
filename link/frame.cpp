#include "frame.h"

#include <algorithm>

using namespace frame;

uint16_t frameSum(std::string_view bytes, int skipByte) {
    uint16_t sum = 0;
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (b != skipByte) {
            sum = static_cast<uint16_t>(sum + b);
        }
    }
    return sum;
}

std::array<char, 4> checksumCharacters(uint16_t sum) {
    std::array<char, 4> out{};
    for (int i = 0; i < 4; ++i) {
        const int nibble = (sum >> (12 - 4 * i)) & 0x0F;
        out[i] = static_cast<char>(0x30 + nibble);
    }
    return out;
}

std::string buildRequestFrame(std::string_view requestString, uint8_t sequence) {
    std::string out;
    out.reserve(requestString.size() + kRequestOverhead);
    out.push_back(static_cast<char>(kStart));
    out.push_back(static_cast<char>(requestString.size() + 0x23));
    out.push_back(static_cast<char>(sequence));
    out.append(requestString);
    out.push_back(static_cast<char>(kEndOfData));
    const auto sum = checksumCharacters(frameSum(std::string_view(out).substr(1)));
    out.append(sum.begin(), sum.end());
    out.push_back(static_cast<char>(kEnd));
    return out;
}

namespace {

uint8_t byteAt(const std::string& s, size_t i) {
    return static_cast<uint8_t>(s[i]);
}

// LEN is compared without wrapping, so no frame longer than 229 bytes can pass.
bool frameFieldsValid(const std::string& buffer) {
    const size_t n = buffer.size();
    if (n > kMaxResponseFrame || byteAt(buffer, n - 6) != kEndOfData ||
        byteAt(buffer, n - 13) != kSeparator || byteAt(buffer, 1) != n + 26) {
        return false;
    }
    const std::string_view summed = std::string_view(buffer).substr(1, n - 6);
    const auto expected = checksumCharacters(frameSum(summed, kStoredZero));
    return std::equal(expected.begin(), expected.end(), buffer.begin() + (n - 5));
}

}  // namespace

bool CheckResponseFrame(std::string& buffer) {
    if (buffer.size() < kResponseOverhead) {
        return false;
    }
    const size_t start = buffer.find(static_cast<char>(kStart));
    if (start == std::string::npos) {
        buffer.clear();
        return false;
    }
    if (start > 0) {
        buffer.erase(0, start);
        if (buffer.size() < kResponseOverhead) {
            return false;
        }
    }
    const size_t end = buffer.find(static_cast<char>(kEnd));
    if (end == std::string::npos) {
        return false;
    }
    buffer.resize(end + 1);
    if (buffer.size() < kResponseOverhead || !frameFieldsValid(buffer)) {
        buffer.clear();
        return false;
    }
    return true;
}

std::string responseData(const std::string& frameBytes) {
    return frameBytes.substr(4, frameBytes.size() - kResponseOverhead);
}

DeviceStatus responseStatus(const std::string& frameBytes) {
    DeviceStatus status{};
    const size_t at = frameBytes.size() - 12;
    for (size_t i = 0; i < kStatusSize; ++i) {
        status[i] = static_cast<uint8_t>(frameBytes[at + i]);
    }
    return status;
}
