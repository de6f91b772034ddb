#include "num_edit_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr char16_t kBackspace = 8;
constexpr int kMaxDecimals = 30;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool mayPass(char16_t c, int decimals, bool allowNegative) {
    return c < 32 || isDigit(c) || (c == u'-' && allowNegative) || (c == u'.' && decimals > 0);
}

// Refuses characters that would land beyond the allowed decimal places.
bool fitsDecimals(std::u16string_view text, size_t caret, int decimals) {
    const size_t point = text.find(u'.');
    if (point == std::u16string_view::npos) {
        return true;
    }
    const long long places = std::max(decimals, 0);
    const auto p = static_cast<long long>(point);
    const auto s = static_cast<long long>(caret);
    const auto length = static_cast<long long>(text.size());
    if (s > p + places) {
        return false;
    }
    return !(p < s && s < length && length - p - 1 >= places);
}

}  // namespace

bool numEditAccepts(std::u16string_view text, size_t selectionStart, char16_t character,
                    int decimals, bool allowNegative) {
    if (!mayPass(character, decimals, allowNegative)) {
        return false;
    }
    if (text.empty()) {
        return true;
    }
    const bool hasPoint = text.find(u'.') != std::u16string_view::npos;
    if (character == u'.' && (hasPoint || selectionStart == 0)) {
        return false;
    }
    if (character == u'-' &&
        (text.find(u'-') != std::u16string_view::npos || selectionStart != 0)) {
        return false;
    }
    if (character == kBackspace) {
        return true;
    }
    return fitsDecimals(text, selectionStart, decimals);
}

double numEditValue(std::u16string_view text) {
    size_t start = 0;
    while (start < text.size() &&
           (text[start] == u' ' || (text[start] >= 9 && text[start] <= 13))) {
        ++start;
    }
    // from_chars takes narrow characters and no plus sign; anything outside ASCII ends a
    // number anyway, so it becomes a character that stops the reading.
    std::string narrow;
    for (size_t i = start; i < text.size(); ++i) {
        narrow.push_back(text[i] < 128 ? static_cast<char>(text[i]) : '\x7f');
    }
    const bool plus = !narrow.empty() && narrow.front() == '+';
    const char* first = narrow.data() + (plus ? 1 : 0);
    if (plus && narrow.size() > 1 && narrow[1] == '-') {
        return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(first, narrow.data() + narrow.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return value;
}

std::u16string numEditText(double value, int decimals) {
    const int places = std::clamp(decimals, 0, kMaxDecimals);
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    if (result.ec != std::errc()) {
        return u"0";
    }
    return std::u16string(buffer, result.ptr);
}
