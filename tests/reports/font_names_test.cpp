#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "cp1251.h"
#include "font_names.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void put32(Bytes& out, size_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

struct NameEntry {
    uint16_t platform;
    uint16_t nameId;
    std::string bytes;  // as stored in the font
    int offsetOverride = -1;
    int lengthOverride = -1;
};

std::string utf16be(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c >> 8));
        out.push_back(static_cast<char>(c & 0xFF));
    }
    return out;
}

// A font file with one table besides the naming table ("head", placed first in the
// directory so that the search has to step over it).
Bytes craftFont(const std::vector<NameEntry>& entries, const char* nameTag = "name") {
    Bytes font;
    put32(font, 0x00010000);
    put16(font, 2);
    put16(font, 0), put16(font, 0), put16(font, 0);
    const size_t tableOffset = 12 + 2 * 16;
    for (const char* tag : {"head", nameTag}) {
        font.insert(font.end(), tag, tag + 4);
        put32(font, 0);
        put32(font, tableOffset);
        put32(font, 0);
    }
    Bytes strings;
    Bytes records;
    for (const NameEntry& e : entries) {
        put16(records, e.platform);
        put16(records, e.platform == 3 ? 1 : 0);
        put16(records, e.platform == 3 ? 0x409 : 0);
        put16(records, e.nameId);
        put16(records, e.lengthOverride >= 0 ? e.lengthOverride : e.bytes.size());
        put16(records, e.offsetOverride >= 0 ? e.offsetOverride : strings.size());
        strings.insert(strings.end(), e.bytes.begin(), e.bytes.end());
    }
    put16(font, 0);
    put16(font, entries.size());
    put16(font, 6 + records.size());
    font.insert(font.end(), records.begin(), records.end());
    font.insert(font.end(), strings.begin(), strings.end());
    return font;
}

std::u16string u(const char* utf8) {
    return utf8ToUtf16(utf8);
}

FontNameReader read(const Bytes& font, bool expectTable = true) {
    FontNameReader reader;
    EXPECT_EQ(reader.ReadFontNames(font.data(), font.size()), expectTable);
    return reader;
}

TEST(FontNames, TagIsMatchedWithoutRegardToCase) {
    for (const char* tag : {"name", "NAME", "NaMe"}) {
        const FontNameReader reader = read(craftFont({{3, 4, utf16be(u"Face")}}, tag));
        EXPECT_EQ(reader.FullName(), u"Face") << tag;
    }
}

TEST(FontNames, FontWithoutNamingTable) {
    FontNameReader reader = read(craftFont({{3, 4, utf16be(u"Face")}}, "nam "), false);
    EXPECT_EQ(reader.FullName(), u"");
    EXPECT_EQ(reader.foundMask(), 0);
}

TEST(FontNames, FirstRecordPerIdWinsAndMacTextIsWindows1251) {
    const std::string macName = utf16ToCp1251(u"Шрифт Отчет");
    const FontNameReader reader = read(
        craftFont({{1, 4, macName}, {3, 4, utf16be(u"Windows name")}, {0, 1, utf16be(u"Fam")}}));
    EXPECT_EQ(reader.FullName(), u"Шрифт Отчет");
    EXPECT_EQ(reader.name(1), u"Fam");
    EXPECT_EQ(reader.foundMask(), 0x12);
}

TEST(FontNames, IdsAboveSevenAreSkipped) {
    const FontNameReader reader = read(
        craftFont({{3, 8, utf16be(u"maker")}, {3, 256, utf16be(u"x")}, {3, 4, utf16be(u"F")}}));
    EXPECT_EQ(reader.foundMask(), 0x10);
    EXPECT_EQ(reader.name(8), u"");
    EXPECT_EQ(reader.FullName(), u"F");
}

TEST(FontNames, TextEndsAtTheFirstZero) {
    const FontNameReader reader =
        read(craftFont({{1, 1, std::string("ab\0cd", 5)},
                        {3, 4, utf16be(u"xy") + std::string(2, '\0') + "zz"},
                        {3, 5, std::string("\x00\x41\x00", 3)}}));
    EXPECT_EQ(reader.name(1), u"ab");
    EXPECT_EQ(reader.FullName(), u"xy");
    EXPECT_EQ(reader.name(5), u"A");  // the odd last byte of a UTF-16 record is dropped
}

struct StyleCase {
    const char* subfamily;
    bool bold;
    bool italic;
    bool regular;
};

const StyleCase kStyleCases[] = {
    {"Bold Italic", true, true, false}, {"BOLDITALIC", true, true, false},
    {"normal", false, false, true},     {"Regular", false, false, true},
    {"Standard", false, false, true},   {"Bold", true, false, false},
    {"Oblique", false, false, false},   {"", false, false, false},
};

TEST(FontNames, StyleFlagsFromTheSubfamily) {
    for (const StyleCase& c : kStyleCases) {
        for (uint16_t platform : {1, 3}) {
            const std::string bytes = platform == 3 ? utf16be(u(c.subfamily)) : c.subfamily;
            const FontNameReader reader = read(craftFont({{platform, 2, bytes}}));
            EXPECT_EQ(reader.isBold(), c.bold) << c.subfamily;
            EXPECT_EQ(reader.isItalic(), c.italic) << c.subfamily;
            EXPECT_EQ(reader.isRegular(), c.regular) << c.subfamily;
        }
    }
}

TEST(FontNames, RecordsPointingOutsideTheFontAreAbsent) {
    const Bytes font = craftFont({{3, 4, utf16be(u"Far"), 0x7000},
                                  {3, 1, utf16be(u"Long"), -1, 0xFFFF},
                                  {3, 4, utf16be(u"Near")}});
    const FontNameReader reader = read(font);
    EXPECT_EQ(reader.FullName(), u"Near");
    EXPECT_EQ(reader.name(1), u"");
    EXPECT_EQ(reader.foundMask(), 0x10);
}

// Every prefix of a valid font must be read without leaving the buffer; prefixes too
// short for the directory have no naming table, longer ones keep what fits.
TEST(FontNames, EveryTruncationStaysInsideTheBuffer) {
    const Bytes font = craftFont({{1, 4, "Mac"}, {3, 2, utf16be(u"Bold")}});
    for (size_t size = 0; size <= font.size(); ++size) {
        const Bytes prefix(font.begin(), font.begin() + static_cast<std::ptrdiff_t>(size));
        FontNameReader reader;
        const bool found = reader.ReadFontNames(prefix.data(), prefix.size());
        EXPECT_EQ(found, size >= 12 + 2 * 16) << size;
        EXPECT_EQ(reader.FullName() == u"Mac", size >= font.size() - 8) << size;
    }
}

TEST(FontNames, CorruptedCountsNeverReadPastTheEnd) {
    Bytes font = craftFont({{3, 4, utf16be(u"Face")}});
    font[5] = 0xFF;  // thousands of directory entries
    EXPECT_EQ(read(font).FullName(), u"Face");
    font[5] = 2;
    font[12 + 16 + 8] = 0xFF;  // naming table far outside the font
    EXPECT_EQ(read(font).foundMask(), 0);
    EXPECT_FALSE(FontNameReader().ReadFontNames(nullptr, 100));
}

TEST(FontNames, ResetForgetsEverything) {
    FontNameReader reader = read(craftFont({{3, 2, utf16be(u"Bold")}, {3, 4, utf16be(u"F")}}));
    reader.Reset();
    EXPECT_EQ(reader.FullName(), u"");
    EXPECT_EQ(reader.foundMask(), 0);
    EXPECT_FALSE(reader.isBold());
}

Bytes programFont() {
    std::ifstream file(KORVEX_REPORT_FONT, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

size_t get16(const Bytes& font, size_t pos) {
    return size_t{font.at(pos)} << 8 | font.at(pos + 1);
}

// The platform of each record for name ids 0 to 7, in table order.
std::vector<size_t> namePlatforms(const Bytes& font) {
    size_t table = 0;
    for (size_t i = 0; i < get16(font, 4); ++i) {
        const size_t entry = 12 + 16 * i;
        if (std::equal(font.begin() + entry, font.begin() + entry + 4, "name")) {
            table = get16(font, entry + 8) << 16 | get16(font, entry + 10);
        }
    }
    std::vector<size_t> platforms;
    for (size_t i = 0; i < get16(font, table + 2); ++i) {
        const size_t record = table + 6 + 12 * i;
        if (get16(font, record + 6) <= 7) {
            platforms.push_back(get16(font, record));
        }
    }
    return platforms;
}

// The viewer takes the first record of each id, so the Macintosh records must lead.
TEST(FontNames, TheProgramsOwnFontListsMacintoshNamesFirst) {
    std::vector<size_t> expected(8, 1);
    expected.resize(16, 3);
    EXPECT_EQ(namePlatforms(programFont()), expected);
}

TEST(FontNames, TheProgramsOwnFont) {
    const Bytes font = programFont();
    ASSERT_FALSE(font.empty());
    const FontNameReader reader = read(font);
    EXPECT_EQ(reader.foundMask(), 0xFF);
    EXPECT_EQ(reader.FullName(), u"Korvex Report Mono Bold");
    EXPECT_LE(reader.FullName().size(), 31u);
    EXPECT_EQ(reader.name(1), u"Korvex Report Mono");
    EXPECT_TRUE(reader.isBold());
    EXPECT_FALSE(reader.isItalic());
    EXPECT_FALSE(reader.isRegular());
}

}  // namespace
