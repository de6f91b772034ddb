// Colours as the device pages give them: 24 bits with red in the lowest byte, green in the
// middle byte and blue in the highest (0x0000FF is pure red).
#pragma once

#include <cstdint>

using ColorRef = uint32_t;

constexpr ColorRef makeColorRef(uint32_t red, uint32_t green, uint32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr uint32_t redOf(ColorRef colour) {
    return colour & 0xFF;
}
constexpr uint32_t greenOf(ColorRef colour) {
    return (colour >> 8) & 0xFF;
}
constexpr uint32_t blueOf(ColorRef colour) {
    return (colour >> 16) & 0xFF;
}
