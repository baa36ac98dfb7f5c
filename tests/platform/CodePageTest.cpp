#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePageTest, EveryByteRoundTrips) {
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        EXPECT_EQ(CodePage::FromUnicode(CodePage::ToUnicode(static_cast<unsigned char>(byte))),
                  byte);
    }
    EXPECT_EQ(CodePage::ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(CodePage::FromUnicode(U'\u0100'), -1);
}

TEST(CodePageTest, CaseFoldingCoversTheCodePagesLetters) {
    EXPECT_TRUE(CodePage::EqualNoCase("ANNA", "anna"));
    EXPECT_TRUE(CodePage::EqualNoCase("\xC9LODIE", "\xE9lodie")); // Elodie, E acute
    EXPECT_TRUE(CodePage::EqualNoCase("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"));
    EXPECT_FALSE(CodePage::EqualNoCase("\xD7", "\xF7")); // multiplication and division signs
    EXPECT_FALSE(CodePage::EqualNoCase("Anna", "Ann"));
}

} // namespace
