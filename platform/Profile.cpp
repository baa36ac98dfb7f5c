#include "platform/Profile.h"

#include "platform/AtomicFile.h"
#include "platform/CurrentDirectory.h"
#include "platform/OrEmpty.h"
#include "platform/tProfileCache.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsBlank(char c) {
    return tProfileFile::IsBlank(c);
}

tFileFault g_LastWriteFault = tFileFault::None;

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool HasSurroundingBlank(std::string_view text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

std::string_view TrimValue(std::string_view value) {
    while (!value.empty() && IsBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

uint32_t CopyText(std::string_view text, char* buffer, uint32_t size) {
    if (size == 0)
        return 0;
    const size_t count = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<uint32_t>(count);
}

// Names each followed by a NUL, then a closing NUL.  When they do not fit, the stream is cut
// so that the last name and the two closing NULs end exactly at the buffer's end.
class tNameListWriter {
public:
    tNameListWriter(char* buffer, uint32_t size) : m_Buffer(buffer), m_Size(size) {}

    // False once the buffer is full.
    bool Add(std::string_view name) {
        if (m_Size < 2 || m_Full)
            return Cut();
        if (m_Used + name.size() + 1 > m_Size - 1) {
            const uint32_t room = m_Used < m_Size - 2 ? m_Size - 2 - m_Used : 0;
            std::memcpy(m_Buffer + m_Used, name.data(), std::min<size_t>(room, name.size()));
            return Cut();
        }
        std::memcpy(m_Buffer + m_Used, name.data(), name.size());
        m_Used += static_cast<uint32_t>(name.size());
        m_Buffer[m_Used++] = '\0';
        return true;
    }
    // The number of bytes copied without the final NUL.
    uint32_t Finish() {
        if (m_Full || m_Size < 2)
            return m_Size < 2 ? Empty() : m_Size - 2;
        m_Buffer[m_Used] = '\0';
        return m_Used;
    }

private:
    bool Cut() {
        if (m_Size >= 2) {
            m_Buffer[m_Size - 2] = '\0';
            m_Buffer[m_Size - 1] = '\0';
        }
        m_Full = true;
        return false;
    }
    uint32_t Empty() {
        if (m_Size == 1)
            m_Buffer[0] = '\0';
        return 0;
    }

    char* m_Buffer;
    uint32_t m_Size;
    uint32_t m_Used = 0;
    bool m_Full = false;
};

uint32_t CopyDefault(const char* defaultText, char* buffer, uint32_t size) {
    std::string_view text(defaultText ? defaultText : "");
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    const uint32_t copied = CopyText(text, buffer, size);
    if (copied + 1 < size)
        buffer[copied + 1] = '\0'; // a list reader sees an empty list after the default
    return copied;
}

} // namespace

std::string_view ProfileTrimmedValue(std::string_view raw) {
    return TrimValue(raw);
}

bool ProfileSectionIsStorable(std::string_view section) {
    return !section.empty() && !HasLineBreakOrNul(section) && !HasSurroundingBlank(section) &&
           section.find(']') == std::string_view::npos;
}

bool ProfileKeyIsStorable(std::string_view key) {
    // A leading "[" would start a section, a leading ";" a comment; "=" would end the key.
    return !key.empty() && !HasLineBreakOrNul(key) && !HasSurroundingBlank(key) &&
           key.front() != '[' && key.front() != ';' && key.find('=') == std::string_view::npos;
}

bool ProfileValueIsStorable(std::string_view value) {
    return !HasLineBreakOrNul(value) && !HasSurroundingBlank(value) &&
           TrimValue(value).size() == value.size();
}

uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                 char* buffer, uint32_t size, const char* fileName) {
    if (!buffer || size == 0)
        return 0;
    const std::shared_ptr<const tProfileFile> file = tProfileCache::Instance().Get(fileName);
    if (!section) {
        std::vector<std::string> names;
        file->SectionNames(names);
        if (names.empty())
            return CopyDefault(defaultText, buffer, size);
        tNameListWriter list(buffer, size);
        for (const std::string& name : names)
            if (!list.Add(name))
                break;
        return list.Finish();
    }
    if (!key) {
        tNameListWriter list(buffer, size);
        bool any = false;
        file->ForEachKey(section, [&](std::string_view name) {
            any = true;
            return list.Add(name);
        });
        return any ? list.Finish() : CopyDefault(defaultText, buffer, size);
    }
    const std::optional<std::string> value = file->RawValue(section, key);
    if (!value)
        return CopyDefault(defaultText, buffer, size);
    return CopyText(TrimValue(*value), buffer, size);
}

int GetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                         const char* fileName) {
    char text[100];
    if (GetPrivateProfileString(section, key, "", text, sizeof text, fileName) == 0)
        return defaultValue;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    long long number = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        number = std::min<long long>(number * 10 + (*p - '0'), 1LL + INT_MAX);
    if (negative)
        number = -number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName) {
    g_LastWriteFault = tFileFault::None;
    if (!section && !key && !value)
        return true; // every write is already on disk when it returns
    if (!section || !ProfileSectionIsStorable(section) || (key && !ProfileKeyIsStorable(key)) ||
        (key && value && !ProfileValueIsStorable(value))) {
        g_LastWriteFault = tFileFault::NotStorable;
        return false;
    }
    g_LastWriteFault = tProfileCache::Instance().Edit(fileName, [&](tProfileFile& file) {
        if (!key)
            return file.RemoveSection(section);
        if (!value)
            return file.RemoveKey(section, key);
        return file.SetValue(section, key, value);
    });
    return g_LastWriteFault == tFileFault::None;
}

tFileFault ProfileWriteFault() {
    return g_LastWriteFault;
}

tFileFault ProfileReadFault(const char* fileName) {
    return tProfileCache::Instance().ReadFault(fileName);
}

bool ProfileSectionHasKeys(const char* section, const char* fileName) {
    return tProfileCache::Instance().Get(fileName)->HasKeys(OrEmpty(section));
}
