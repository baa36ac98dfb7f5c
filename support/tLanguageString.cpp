#include "support/tLanguageString.h"

#include "platform/CurrentDirectory.h"
#include "platform/OrEmpty.h"
#include "platform/Profile.h"
#include "platform/tProfileCache.h"
#include "support/ErrorLog.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

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
    m_Remembered.clear();
    std::snprintf(m_FileName, sizeof m_FileName, "%s", OrEmpty(name));
}

void tLanguageString::SetLanguage(int number, std::string_view stored) {
    m_Remembered.clear();
    m_RequestedLanguage = number;
    m_RequestedText = std::string(stored.substr(0, 40));
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
    if (m_Language == 0) {
        // The number comes from the data file's settings: say so, not just "not set".
        const std::string number =
            m_RequestedText.empty() ? std::to_string(m_RequestedLanguage) : m_RequestedText;
        Raise("The setting language=%s in DataFile.txt is not one of 1 to 6.", number.c_str());
    }
    tProfileCache& cache = tProfileCache::Instance();
    if (!cache.LoopWatches() || m_RememberedAt != cache.Changes())
        m_Remembered.clear();
    else if (const auto found = m_Remembered.find(key); found != m_Remembered.end())
        return found->second.c_str();
    const std::string path = FullPath(m_FileName);
    if (GetPrivateProfileString(m_SectionName, key, "", m_Result, sizeof m_Result, path.c_str()) ==
        0) {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            Raise("The language file is missing (looking for the text \"%s\").", key);
        if (ProfileReadFault(path.c_str()) != tFileFault::None)
            Raise("The language file cannot be read (looking for the text \"%s\").", key);
        Raise("String not found in textfile: %s", key);
    }
    if (!cache.LoopWatches())
        return m_Result;
    if (m_RememberedAt != cache.Changes()) {
        m_Remembered.clear(); // the file was read again meanwhile
        m_RememberedAt = cache.Changes();
    }
    return m_Remembered.emplace(key, m_Result).first->second.c_str();
}

std::string tLanguageString::GetStringOr(const char* key, const char* fallback) {
    try {
        return GetString(key);
    } catch (const tLanguageStringError&) {
        return fallback;
    }
}
