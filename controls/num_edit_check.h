#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whether a numeric edit lets a typed character in, judged on the current text and the
// start of the selection (the caret when nothing is selected). Control characters take
// part: copy and paste keys arrive as characters too.
bool numEditAccepts(std::u16string_view text, size_t selectionStart, char16_t character,
                    int decimals, bool allowNegative);

// The number a numeric edit's text stands for, read as strtod reads it (leading blanks,
// sign, digits, decimal point, exponent; reading stops at the first character that does
// not fit). No number, or one beyond the range of a double, gives 0.
double numEditValue(std::u16string_view text);

// The value written with exactly that many decimals (none when decimals is 0 or less),
// independent of the process locale.
std::u16string numEditText(double value, int decimals);
