#pragma once

#include <string>
#include <string_view>

// The device's 8-bit texts are Windows-1251; the user interface is UTF-16.
std::u16string cp1251ToUtf16(std::string_view bytes);
// A character with no Windows-1251 byte becomes '?'.
std::string utf16ToCp1251(std::u16string_view text);
// Command strings built as UTF-16 become bytes by their low 8 bits, with no code page:
// this is how command codes above 0x7F (U+00E4 for 0xE4) are written.
std::string lowBytes(std::u16string_view text);

// Convenience for code that holds UTF-8 (tests, the simulator's log).
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
