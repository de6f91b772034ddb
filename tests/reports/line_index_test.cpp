#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_index.h"

namespace {

struct IndexCase {
    const char16_t* text;
    std::vector<std::u16string> lines;
};

const IndexCase kCases[] = {
    {u"", {u""}},
    {u"one", {u"one"}},
    {u"a\r\nb\r\n", {u"a", u"b", u""}},
    {u"a\nb", {u"a", u"b"}},
    {u"a\rb", {u"a", u"b"}},           // a lone CR ends a line too
    {u"a\r\r\nb", {u"a", u"", u"b"}},  // CR, then CR LF
    {u"a\n\r", {u"a", u"", u""}},      // LF CR is two line ends
    {u"\r\n\r\n", {u"", u"", u""}},
};

std::vector<std::u16string> split(const std::u16string& text) {
    std::vector<std::u16string> out;
    for (const LineSpan& span : indexLines(text)) {
        out.push_back(text.substr(span.start, span.length));
    }
    return out;
}

TEST(LineIndex, SplitsAtEveryKindOfLineEnd) {
    for (size_t i = 0; i < std::size(kCases); ++i) {
        EXPECT_EQ(split(kCases[i].text), kCases[i].lines) << "case " << i;
    }
}

TEST(LineIndex, PositionsMapToTheirLines) {
    const std::u16string text = u"ab\r\ncd\r\n";
    const std::vector<LineSpan> lines = indexLines(text);
    const size_t expected[] = {0, 0, 0, 0, 1, 1, 1, 1, 2};
    for (size_t pos = 0; pos < std::size(expected); ++pos) {
        EXPECT_EQ(lineOfPosition(lines, pos), expected[pos]) << pos;
    }
    EXPECT_EQ(lineOfPosition(lines, 1000), 2u);
}

}  // namespace
