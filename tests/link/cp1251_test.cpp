#include <gtest/gtest.h>

#include "cp1251.h"

namespace {

TEST(Cp1251, CyrillicBothWays) {
    const std::u16string text = u"АБВ абв ЁёЇїЎў №€ Щит";
    const std::string bytes = utf16ToCp1251(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xC0);
    EXPECT_EQ(static_cast<uint8_t>(bytes[4]), 0xE0);
    EXPECT_EQ(cp1251ToUtf16(bytes), text);
}

TEST(Cp1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(utf16ToCp1251(cp1251ToUtf16(all)), all);
}

TEST(Cp1251, UnmappableBecomesQuestionMark) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {u"ä", "?"},  // Latin with diaeresis: not in the Cyrillic page
        {u"日本", "??"},
        {u"a😀b", "a?b"},     // one character outside the basic plane: one '?'
        {u"\xD800x", "?x"},  // a lone surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf16ToCp1251(c.in), c.out);
    }
}

TEST(Cp1251, LowBytesTakesNoCodePage) {
    const std::u16string command{char16_t(0xE4), u'1', u'2', char16_t(0x0410)};
    EXPECT_EQ(lowBytes(command), std::string("\xE4"
                                             "12\x10"));
}

TEST(Utf8, RoundTripAndBadInput) {
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16("Грешка 😀 ok")), "Грешка 😀 ok");
    EXPECT_EQ(utf8ToUtf16("\xD0"), u"\xFFFD");
}

}  // namespace
