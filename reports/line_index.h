#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Where each line of a text starts and how long it is, without its line end. A line ends
// at CR LF, at LF or at a lone CR, as a text display breaks paragraphs. A text that ends
// with a line end has an empty last line, so an empty text has one (empty) line.
// No Qt here; the report view keeps only this index beside the text it shows.
struct LineSpan {
    uint32_t start;
    uint32_t length;
};

std::vector<LineSpan> indexLines(std::u16string_view text);

// The line that holds text position pos (a position on a line end belongs to the line it
// ends; positions past the end belong to the last line).
size_t lineOfPosition(const std::vector<LineSpan>& lines, size_t pos);
