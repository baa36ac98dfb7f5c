#include "support/ErrorLog.h"
#include "support/tLanguageString.h"
#include "tests/support/TestSupport.h"

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

class LanguageStringTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_Scratch / "Cal_Data/Language.txt",
                  "[English]\r\ntitle=Birthdays\r\nday=day\r\nlong=" + std::string(300, 'L') +
                      "\r\nempty=\r\n"
                      "[French]\r\ntitle=Anniversaires\r\n"
                      "[German]\r\nday=Tag\r\n");
        m_Strings.SetFileName("Cal_Data\\Language.txt");
    }

    std::string ErrorOf(const char* key) {
        try {
            m_Strings.GetString(key);
        } catch (const tLanguageString::tLanguageStringError& error) {
            return error.m_Text;
        }
        return "no error";
    }

    TestSupport::tScratch m_Scratch;
    tLanguageString m_Strings;
};

TEST_F(LanguageStringTest, NoLanguageFailsEveryLookup) {
    m_Strings.SetLanguage(7);
    // The number comes from the data file: the message says so.
    const std::string message = "The setting language=7 in DataFile.txt is not one of 1 to 6.\n";
    EXPECT_EQ(ErrorOf("title"), message);
    EXPECT_EQ(ReadFile(ErrorLogPath()), message + "\n");
}

TEST_F(LanguageStringTest, MissingAndEmptyTextsFailWithoutReturningAnEarlierText) {
    m_Strings.SetLanguage(4);
    EXPECT_STREQ(m_Strings.GetString("day"), "Tag");
    EXPECT_EQ(ErrorOf("title"), "String not found in textfile: title\n");
    EXPECT_EQ(ReadFile(ErrorLogPath()), "String not found in textfile: title\n\n");
    m_Strings.SetLanguage(1);
    EXPECT_EQ(ErrorOf("empty"), "String not found in textfile: empty\n");
    // The error is a tAnyError too.
    try {
        m_Strings.GetString("nothing");
        FAIL();
    } catch (const tAnyError& error) {
        EXPECT_STREQ(error.m_Text, "String not found in textfile: nothing\n");
    }
}

TEST_F(LanguageStringTest, AnotherFileGivesItsOwnTexts) {
    m_Strings.SetLanguage(1);
    EXPECT_STREQ(m_Strings.GetString("title"), "Birthdays");
    WriteFile(m_Scratch / "Other.txt", "[English]\r\ntitle=Others\r\n");
    m_Strings.SetFileName("Other.txt");
    EXPECT_STREQ(m_Strings.GetString("title"), "Others") << "not the text the first file gave";
}

TEST_F(LanguageStringTest, LongTextsAreCutTo249Characters) {
    m_Strings.SetLanguage(1);
    EXPECT_EQ(std::string(m_Strings.GetString("long")), std::string(249, 'L'));
}

TEST_F(LanguageStringTest, TheFileIsFoundFromTheCurrentDirectoryOfEachLookup) {
    m_Strings.SetLanguage(1);
    EXPECT_STREQ(m_Strings.GetString("title"), "Birthdays");
    TestSupport::tScratch elsewhere;
    EXPECT_EQ(ErrorOf("title"), "The language file is missing (looking for the text \"title\").\n");
    WriteFile(elsewhere / "Cal_Data/Language.txt", "[English]\ntitle=Elsewhere\n");
    EXPECT_STREQ(m_Strings.GetString("title"), "Elsewhere");
}

} // namespace
