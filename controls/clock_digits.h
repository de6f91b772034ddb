// The digits a liquid-crystal clock face shows, and where each one sits on the face.
#pragma once

#include <array>
#include <cstdint>

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct ClockDigits {
    // Hour tens and units, minute tens and units, second tens and units.
    std::array<uint8_t, 6> timeDigits{};
    // Day tens and units, month tens and units, the four year digits.
    std::array<uint8_t, 8> dateDigits{};
};

ClockDigits clockDigits(const LocalDateTime& when);

enum class DigitStrip { Large, Small };

struct DigitCell {
    DigitStrip strip;
    int x;
    int y;
};

inline constexpr int kLargeDigitWidth = 24;
inline constexpr int kLargeDigitHeight = 34;
inline constexpr int kSmallDigitWidth = 12;
inline constexpr int kSmallDigitHeight = 17;
inline constexpr int kFaceWidth = 151;
inline constexpr int kFaceHeight = 72;

// Top-left corners on the face, in the order of timeDigits and dateDigits.
inline constexpr std::array<DigitCell, 6> kTimeCells{{{DigitStrip::Large, 5, 33},
                                                      {DigitStrip::Large, 32, 33},
                                                      {DigitStrip::Large, 65, 33},
                                                      {DigitStrip::Large, 92, 33},
                                                      {DigitStrip::Small, 120, 50},
                                                      {DigitStrip::Small, 134, 50}}};
inline constexpr std::array<DigitCell, 8> kDateCells{{{DigitStrip::Small, 5, 5},
                                                      {DigitStrip::Small, 19, 5},
                                                      {DigitStrip::Small, 41, 5},
                                                      {DigitStrip::Small, 55, 5},
                                                      {DigitStrip::Small, 77, 5},
                                                      {DigitStrip::Small, 91, 5},
                                                      {DigitStrip::Small, 105, 5},
                                                      {DigitStrip::Small, 119, 5}}};
