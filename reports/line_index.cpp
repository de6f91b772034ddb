#include "line_index.h"

#include <algorithm>

std::vector<LineSpan> indexLines(std::u16string_view text) {
    // Spans are 32-bit to keep the index small; a longer text is shown up to that length.
    text = text.substr(0, std::min<size_t>(text.size(), UINT32_MAX));
    std::vector<LineSpan> lines;
    lines.reserve(text.size() / 40 + 1);
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c != u'\n' && c != u'\r') {
            ++i;
            continue;
        }
        lines.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(i - start)});
        i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    lines.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(text.size() - start)});
    lines.shrink_to_fit();
    return lines;
}

size_t lineOfPosition(const std::vector<LineSpan>& lines, size_t pos) {
    const auto after = std::upper_bound(lines.begin(), lines.end(), pos,
                                        [](size_t p, const LineSpan& l) { return p < l.start; });
    return after == lines.begin() ? 0 : static_cast<size_t>(after - lines.begin()) - 1;
}
