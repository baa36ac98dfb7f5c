// The texts the user sees, looked up by their English key in the selected language's section
// of the language file.
#pragma once

#include "support/tAnyError.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class tLanguageString {
public:
    class tLanguageStringError : public tAnyError {};

    virtual ~tLanguageString() = default;

    // The language file, relative to the current directory at each lookup.
    void SetFileName(const char* name);
    // 1 English, 2 Dutch, 3 French, 4 German, 5 Italian, 6 Spanish; anything else: none.
    // stored: the setting as the data file writes it, for the message when it is no language
    // (a number too large for an int, or letters, read as another number).
    void SetLanguage(int number, std::string_view stored = {});
    // The text of key; valid until the next lookup.  Throws tLanguageStringError when no
    // language is set or the text is missing or empty.
    const char* GetString(const char* key);
    // The text of key, or fallback when the language file lacks it: for the texts this program
    // added, which a language file from elsewhere may not have.
    std::string GetStringOr(const char* key, const char* fallback);
    // "Eng", "Dut", ...; empty when no language is set.
    const char* GetShortName() const { return m_ShortName; }
    int GetLanguage() const { return m_Language; }
    const char* GetFileName() const { return m_FileName; }

private:
    [[noreturn]] static void Raise(const char* format, const char* key);

    char m_FileName[260] = {};
    char m_Result[250] = {};
    char m_SectionName[100] = {};
    char m_ShortName[6] = {};
    int m_Language = 0;
    int m_RequestedLanguage = 0;
    std::string m_RequestedText; // the setting as written, when given
    // The texts looked up, while the event loop watches the files for changes and none was
    // reported since (the program never changes its current directory).
    std::unordered_map<std::string, std::string> m_Remembered;
    uint64_t m_RememberedAt = 0; // the profile cache's count of changes they belong to
};

extern tLanguageString g_LanguageString;
