#include "support/tLanguageString.h"

#include "platform/CurrentDirectory.h"
#include "platform/Profile.h"
#include "support/ErrorLog.h"

#include <cstdio>
#include <string>

tLanguageString g_LanguageString;

namespace {

struct tLanguage {
    const char* m_Section;
    const char* m_ShortName;
};

constexpr tLanguage kLanguages[] = {{"English", "Eng"}, {"Dutch", "Dut"},   {"French", "Fre"},
                                    {"German", "Ger"},  {"Italian", "Ita"}, {"Spanish", "Spa"}};

} // namespace

void tLanguageString::SetFileName(const char* name) {
    std::snprintf(m_FileName, sizeof m_FileName, "%s", name ? name : "");
}

void tLanguageString::SetLanguage(int number) {
    if (number >= 1 && number <= 6) {
        m_Language = number;
        std::snprintf(m_SectionName, sizeof m_SectionName, "%s", kLanguages[number - 1].m_Section);
        std::snprintf(m_ShortName, sizeof m_ShortName, "%s", kLanguages[number - 1].m_ShortName);
    } else {
        m_Language = 0;
        m_SectionName[0] = '\0';
        m_ShortName[0] = '\0';
    }
}

void tLanguageString::Raise(const char* format, const char* key) {
    tLanguageStringError error;
    ErrorText(error.m_Text, sizeof error.m_Text, format, key);
    throw error;
}

const char* tLanguageString::GetString(const char* key) {
    if (m_Language == 0)
        Raise("Language not set.%s", "");
    std::string path = GetCurrentDirectory();
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += m_FileName;
    if (GetPrivateProfileString(m_SectionName, key, "", m_Result, sizeof m_Result, path.c_str()) ==
        0)
        Raise("String not found in textfile: %s", key);
    return m_Result;
}

std::string tLanguageString::GetStringOr(const char* key, const char* fallback) {
    try {
        return GetString(key);
    } catch (const tLanguageStringError&) {
        return fallback;
    }
}
