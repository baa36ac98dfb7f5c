#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePageTest, EveryByteRoundTrips) {
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        EXPECT_EQ(CodePage::FromUnicode(CodePage::ToUnicode(static_cast<unsigned char>(byte))),
                  byte);
    }
}

TEST(CodePageTest, TheGlyphsTheWindowsDraw) {
    EXPECT_EQ(CodePage::ToUnicode(0xA4), U'\u00A4'); // the hide buttons
    EXPECT_EQ(CodePage::ToUnicode(0xAB), U'\u00AB'); // previous picture
    EXPECT_EQ(CodePage::ToUnicode(0xBB), U'\u00BB'); // next picture
    EXPECT_EQ(CodePage::ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(CodePage::FromUnicode(U'\u20AC'), 0x80);
    EXPECT_EQ(CodePage::FromUnicode(U'\u0100'), -1);
    EXPECT_EQ(CodePage::FromUnicode(U'\U0001F600'), -1);
}

TEST(CodePageTest, CaseFoldingCoversTheCodePagesLetters) {
    EXPECT_TRUE(CodePage::EqualNoCase("ANNA", "anna"));
    EXPECT_TRUE(CodePage::EqualNoCase("\xC9LODIE", "\xE9lodie")); // Elodie, E acute
    EXPECT_TRUE(CodePage::EqualNoCase("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"));
    EXPECT_FALSE(CodePage::EqualNoCase("\xD7", "\xF7")); // multiplication and division signs
    EXPECT_FALSE(CodePage::EqualNoCase("Anna", "Ann"));
}

} // namespace
