// The installation data as the program sees it, read with the program's own classes.
#include "image/tDib.h"
#include "platform/MessageBox.h"
#include "support/Messages.h"
#include "support/tLanguageString.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <filesystem>
#include <set>

using TestSupport::ReadFile;

namespace {

const char* const kKeys[] = {
    "title",   "jan",           "feb",          "mar",         "apr",     "may",
    "jun",     "jul",           "aug",          "sep",         "oct",     "nov",
    "dec",     "sun",           "mon",          "tue",         "wed",     "thu",
    "fri",     "sat",           "Alarm",        "days",        "day",     "in advance",
    "delete",  "Select Gender", "Select Image", "date format", "january", "february",
    "march",   "april",         "june",         "july",        "august",  "september",
    "october", "november",      "december",     "alarm title", "Show",    "Hide",
    "Exit"};
const char* const kLanguages[] = {"", "English", "Dutch", "French", "German", "Italian", "Spanish"};

uint32_t U32(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}
uint16_t U16(const std::string& bytes, size_t offset) {
    uint16_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 2);
    return value;
}

std::vector<std::string> Pictures() {
    std::vector<std::string> names = {"Cal_Data/DefImage.bmp"};
    for (const char* symbol : {"inc", "dec", "true", "false", "male", "female", "trash"})
        names.push_back(std::string("Cal_Data/") + symbol + ".bmp");
    for (const auto& entry : std::filesystem::directory_iterator("Cal_Data/Images"))
        names.push_back(entry.path().string());
    return names;
}

TEST(InstallationTest, EveryLanguageAnswersEveryKey) {
    tLanguageString strings;
    strings.SetFileName("Cal_Data\\Language.txt");
    for (int language = 1; language <= 6; ++language) {
        strings.SetLanguage(language);
        for (const char* key : kKeys) {
            try {
                const std::string text = strings.GetString(key);
            } catch (const tAnyError&) {
                ADD_FAILURE() << kLanguages[language] << " has no text for \"" << key << "\"";
            }
        }
        // The program's messages, with as many "%s" as their English fallback.
        const auto Placeholders = [](std::string_view text) {
            int count = 0;
            for (size_t at = text.find("%s"); at != text.npos; at = text.find("%s", at + 2))
                ++count;
            return count;
        };
        for (int i = 0; i < static_cast<int>(tMessage::Count); ++i) {
            const auto message = static_cast<tMessage>(i);
            try {
                EXPECT_EQ(Placeholders(strings.GetString(MessageKey(message))),
                          Placeholders(MessageFallback(message)))
                    << kLanguages[language] << ": " << MessageKey(message);
            } catch (const tAnyError&) {
                ADD_FAILURE() << kLanguages[language] << " has no text for \""
                              << MessageKey(message) << "\"";
            }
        }
        const std::string format = strings.GetString("date format");
        EXPECT_EQ(format[0] == 'M' || format[0] == 'm', language == 1) << kLanguages[language];
    }
}

TEST(InstallationTest, TheLanguageFileIsWindowsText) {
    const std::string file = ReadFile("Cal_Data/Language.txt");
    EXPECT_EQ(file.find("\r\n"), file.find('\n') - 1) << "CRLF line ends";
    EXPECT_NE(file.find("\xE0 l'avance"), std::string::npos) << "Windows-1252, not UTF-8";
    EXPECT_EQ(file.find("\xC3"), std::string::npos);
}

TEST(InstallationTest, PicturesAre8BitUncompressedWithTheSharedColourTable) {
    std::vector<std::string> messages;
    SetMessageBoxHandler([&](const std::string& text) { messages.push_back(text); });
    const std::string reference = ReadFile("Cal_Data/Images/m001.bmp");
    ASSERT_GE(reference.size(), 1078u);
    for (const std::string& name : Pictures()) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadFile(name);
        ASSERT_GE(bytes.size(), 1078u);
        EXPECT_EQ(bytes.compare(54, 1024, reference, 54, 1024), 0)
            << "the colour table of m001.bmp";
        tDib picture; // the loader takes only 8-bit uncompressed pictures
        ASSERT_TRUE(picture.Load(name.c_str()));
        for (int y = 0; y < picture.GetHeight(); ++y)
            for (int x = 0; x < picture.GetWidth(); ++x)
                ASSERT_LT(picture.GetPixelIndex(x, y), 236) << "only the shared palette's colours";
        if (name.find("Image") != std::string::npos) {
            EXPECT_EQ(picture.GetWidth(), 180);
            EXPECT_EQ(picture.GetHeight(), 180);
        }
    }
    EXPECT_TRUE(messages.empty());
    SetMessageBoxHandler({});
}

TEST(InstallationTest, PersonPicturesAreNumberedWithoutGaps) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("Cal_Data/Images"))
        names.insert(entry.path().filename().string());
    for (char gender : {'m', 'f'}) {
        int count = 0;
        while (names.erase(std::string(1, gender) + (count < 10 ? "00" : "0") +
                           std::to_string(count) + ".bmp"))
            ++count;
        EXPECT_GE(count, 16) << gender;
    }
    EXPECT_TRUE(names.empty()) << "a picture outside the numbering: " << *names.begin();
}

TEST(InstallationTest, TheAlarmSoundIsAnAudiblePcmWave) {
    const std::string wave = ReadFile("Cal_Data/Alarm01.wav");
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U16(wave, 20), 1) << "PCM";
    EXPECT_EQ(U16(wave, 34), 16) << "16-bit";
    EXPECT_EQ(wave.substr(36, 4), "data");
    const uint32_t rate = U32(wave, 24), bytes = U32(wave, 40);
    const double seconds = static_cast<double>(bytes) / (rate * U16(wave, 22) * 2);
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 2.0);
    int peak = 0;
    for (size_t offset = 44; offset + 1 < wave.size(); offset += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(U16(wave, offset))));
    EXPECT_GT(peak, 16000) << "clearly audible";
}

} // namespace
