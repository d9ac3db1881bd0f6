#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"

using platform::host::HostCodePage;

TEST(HostCodePage, Cp1252MapsEveryByte) {
    HostCodePage page;
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::u16string wide = page.ToUtf16(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide[0x41], u'A');
    EXPECT_EQ(wide[0x80], u'\u20AC');
    EXPECT_EQ(wide[0x81], u'\u0081');  // unassigned bytes keep their value
    EXPECT_EQ(wide[0x9F], u'\u0178');
    EXPECT_EQ(wide[0xE9], u'\u00E9');
}

TEST(HostCodePage, Cp932TakesEachTrailByteWithItsLeadByte) {
    HostCodePage page;
    page.SetCodePage(932);
    // 0x5C as a trail byte is part of its character, as a byte of its own it is "\".
    EXPECT_EQ(page.ToUtf16("\x95\x5C\\\x83\x5C"), u"\u8868\\\u30BD");
    EXPECT_EQ(page.ToUtf16("\xB1\xDF"), u"\uFF71\uFF9F");           // half-width katakana
    EXPECT_EQ(page.ToUtf16("\x85\x40\x22"), u"\u30FB\"");          // a pair the code page leaves unassigned
    EXPECT_EQ(page.ToUtf16("a\x95"), u"a\u30FB");                   // a lead byte cut off
    EXPECT_EQ(page.ToUtf16("\x95\x22"), u"\u30FB\"");              // no trail byte: the quote stays a quote
    EXPECT_EQ(page.ToUtf16("\x80\xA0\xFD\xFF"), u"\u0080\uF8F0\uF8F1\uF8F3");
}
