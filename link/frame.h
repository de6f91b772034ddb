#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Control bytes of the device's frame protocol.
namespace frame {
constexpr uint8_t kStart = 0x01;
constexpr uint8_t kEnd = 0x03;
constexpr uint8_t kSeparator = 0x04;
constexpr uint8_t kEndOfData = 0x05;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kSyn = 0x16;
// A received 0x00 is stored as this byte, which the response check sum then skips.
constexpr uint8_t kStoredZero = 0x02;

constexpr size_t kRequestOverhead = 9;     // bytes around the request string
constexpr size_t kMaxRequestString = 220;  // LEN is one byte
constexpr size_t kResponseOverhead = 17;   // a response frame without data
constexpr size_t kMaxResponseFrame = 255;
constexpr size_t kStatusSize = 6;
}  // namespace frame

using DeviceStatus = std::array<uint8_t, frame::kStatusSize>;

// The 16-bit wrapping sum of bytes, leaving out those equal to skipByte when it is set.
uint16_t frameSum(std::string_view bytes, int skipByte = -1);
// The four check-sum characters: nibbles, most significant first, as 0x30 + nibble.
std::array<char, 4> checksumCharacters(uint16_t sum);

// The request frame for a request string (code byte plus data) and sequence byte.
// The caller keeps the request string within kMaxRequestString bytes.
std::string buildRequestFrame(std::string_view requestString, uint8_t sequence);

// The acceptance test on the bytes received so far. Returns true for a complete, valid
// frame (then the buffer holds exactly that frame); false otherwise, having kept what may
// still become a frame or emptied the buffer when it cannot.
bool CheckResponseFrame(std::string& buffer);

// Parts of an accepted response frame.
std::string responseData(const std::string& frameBytes);
DeviceStatus responseStatus(const std::string& frameBytes);
