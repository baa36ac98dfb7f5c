#include "data/tDataFile.h"

#include "platform/Clock.h"
#include "platform/CurrentDirectory.h"
#include "platform/Profile.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
constexpr const char* kSettings = "settings";
}

void tDataFile::SetFileName(const char* name) {
    const std::string text(name ? name : "");
    // A drive-qualified Windows path, or an absolute path here, is taken as it is.
    if ((text.size() >= 2 && text[1] == ':') || (!text.empty() && text[0] == '/')) {
        m_FileName = text;
        return;
    }
    std::string directory = GetCurrentDirectory();
    if (directory.empty() || (directory.back() != '\\' && directory.back() != '/'))
        directory += '\\';
    m_FileName = directory + text;
}

std::string tDataFile::SectionName(int32_t month, int32_t day) {
    if (month >= 0 && month <= 99 && day >= 0 && day <= 99) {
        // The common case without the formatter: every lookup starts here.
        const char name[] = {static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10),
                             '-', static_cast<char>('0' + month / 10),
                             static_cast<char>('0' + month % 10)};
        return std::string(name, sizeof name);
    }
    char name[32];
    std::snprintf(name, sizeof name, "%02d-%02d", day, month);
    return name;
}

bool tDataFile::IsStorableName(std::string_view name) {
    return ProfileKeyIsStorable(name) && name.front() != '#' && name.size() <= kMaxNameLength;
}

// The names of the date's people: the key list of its section, or nothing when its first name
// is the default text "#".  Returns how many names the list holds.
int32_t tDataFile::ReadNameList(int32_t month, int32_t day, char (&list)[kKeyListSize]) const {
    const uint32_t copied = GetPrivateProfileString(SectionName(month, day).c_str(), nullptr, "#",
                                                    list, sizeof list, m_FileName.c_str());
    if (copied == 0 || list[0] == '#')
        return 0;
    int32_t count = 0;
    for (const char* name = list; name < list + sizeof list && *name != '\0'; ++count) {
        const void* end = std::memchr(name, '\0', static_cast<size_t>(list + sizeof list - name));
        if (!end)
            break;
        name = static_cast<const char*>(end) + 1;
    }
    return count;
}

int32_t tDataFile::CountEntries(int32_t month, int32_t day) const {
    char list[kKeyListSize];
    return ReadNameList(month, day, list);
}

bool tDataFile::ReadEntry(int32_t month, int32_t day, int32_t index, std::string& name,
                          std::string& picture) const {
    // One read of the list serves for the count and for the name.
    char list[kKeyListSize];
    if (index < 0 || index >= ReadNameList(month, day, list))
        return false;
    const char* key = list;
    for (int32_t skipped = 0; skipped < index; ++skipped)
        key += std::strlen(key) + 1;
    name = key;
    char value[kValueSize];
    GetPrivateProfileString(SectionName(month, day).c_str(), name.c_str(), "#", value, sizeof value,
                            m_FileName.c_str());
    picture = value; // a key that vanished meanwhile reads as "#"
    return true;
}

bool tDataFile::WriteEntry(int32_t month, int32_t day, const std::string& name,
                           const std::string& picture) {
    const bool written = WritePrivateProfileString(SectionName(month, day).c_str(), name.c_str(),
                                                   picture.c_str(), m_FileName.c_str());
    Flush();
    return written;
}

bool tDataFile::DeleteEntry(int32_t month, int32_t day, const std::string& name) {
    const std::string section = SectionName(month, day);
    const bool removed =
        WritePrivateProfileString(section.c_str(), name.c_str(), nullptr, m_FileName.c_str());
    if (CountEntries(month, day) == 0)
        WritePrivateProfileString(section.c_str(), nullptr, nullptr, m_FileName.c_str());
    Flush();
    return removed;
}

int tDataFile::ReadSetting(const char* key, int defaultValue) const {
    return GetPrivateProfileInt(kSettings, key, defaultValue, m_FileName.c_str());
}

bool tDataFile::WriteSetting(const char* key, long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    return WritePrivateProfileString(kSettings, key, text, m_FileName.c_str());
}

bool tDataFile::Flush() {
    return WritePrivateProfileString(nullptr, nullptr, nullptr, m_FileName.c_str());
}

bool tDataFile::ReadNotifyInAdvance() const {
    return ReadSetting("notify_advance", 1) == 1;
}

bool tDataFile::WriteNotifyInAdvance(bool flag) {
    const bool written = WriteSetting("notify_advance", flag ? 1 : 0);
    return Flush() && written;
}

int32_t tDataFile::ReadNotifyDays() const {
    return ReadSetting("notify_days", 3);
}

bool tDataFile::WriteNotifyDays(int32_t days) {
    const bool written = WriteSetting("notify_days", days);
    return Flush() && written;
}

void tDataFile::ReadWindowPlacement(WINDOWPLACEMENT& placement) const {
    placement.flags = static_cast<uint32_t>(ReadSetting("wp.Flags", 0));
    placement.showCmd = static_cast<uint32_t>(ReadSetting("wp.ShowCmd", 5));
    placement.ptMinPosition.x = ReadSetting("wp.MinPos.x", 100);
    placement.ptMinPosition.y = ReadSetting("wp.MinPos.y", 100);
    placement.ptMaxPosition.x = ReadSetting("wp.MaxPos.x", 100);
    placement.ptMaxPosition.y = ReadSetting("wp.MaxPos.y", 100);
    placement.rcNormalPosition.left = ReadSetting("wp.NormPos.l", 100);
    placement.rcNormalPosition.top = ReadSetting("wp.NormPos.t", 100);
    placement.rcNormalPosition.right = ReadSetting("wp.NormPos.r", 200);
    placement.rcNormalPosition.bottom = ReadSetting("wp.NormPos.b", 200);
}

bool tDataFile::WriteWindowPlacement(const WINDOWPLACEMENT& placement) {
    bool written = WriteSetting("wp.Flags", static_cast<long>(placement.flags));
    written = WriteSetting("wp.ShowCmd", static_cast<long>(placement.showCmd)) && written;
    written = WriteSetting("wp.MinPos.x", placement.ptMinPosition.x) && written;
    written = WriteSetting("wp.MinPos.y", placement.ptMinPosition.y) && written;
    written = WriteSetting("wp.maxpos.x", placement.ptMaxPosition.x) && written;
    written = WriteSetting("wp.maxpos.y", placement.ptMaxPosition.y) && written;
    written = WriteSetting("wp.NormPos.l", placement.rcNormalPosition.left) && written;
    written = WriteSetting("wp.NormPos.t", placement.rcNormalPosition.top) && written;
    written = WriteSetting("wp.NormPos.r", placement.rcNormalPosition.right) && written;
    written = WriteSetting("wp.NormPos.b", placement.rcNormalPosition.bottom) && written;
    return Flush() && written;
}

CTime tDataFile::ReadLastAlarmDate() const {
    const CTime now = CTime::GetCurrentTime();
    const struct tm today = now.GetLocalTm();
    const int day = ReadSetting("last_alarm_day", 1);
    const int month = ReadSetting("last_alarm_month", today.tm_mon + 1);
    int year = ReadSetting("last_alarm_year", today.tm_year + 1900);
    // A year the calendar cannot mean (a damaged file) reads as if none were stored.
    if (year < 1970 || year > 9999)
        year = today.tm_year + 1900;
    const CTime stored(year, month, day, 6, 0, 0);
    if (m_UnsavedLastAlarm && *m_UnsavedLastAlarm > stored)
        return *m_UnsavedLastAlarm;
    return stored;
}

bool tDataFile::WriteLastAlarmDate(CTime moment) {
    const struct tm fields = moment.GetLocalTm();
    bool written = WriteSetting("last_alarm_day", fields.tm_mday);
    written = WriteSetting("last_alarm_month", fields.tm_mon + 1) && written;
    written = WriteSetting("last_alarm_year", fields.tm_year + 1900) && written;
    written = Flush() && written;
    if (written)
        m_UnsavedLastAlarm.reset();
    else
        m_UnsavedLastAlarm =
            CTime(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, 6, 0, 0);
    return written;
}

int32_t tDataFile::ReadLanguage() const {
    return ReadSetting("language", 1);
}
