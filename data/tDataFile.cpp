#include "data/tDataFile.h"

#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "platform/FolderLock.h"
#include "platform/OrEmpty.h"
#include "platform/Profile.h"
#include "platform/tProfileCache.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {
constexpr const char* kSettings = "settings";
constexpr const char* kProgressKey = "alarm_acknowledged";
constexpr int kDefaultAlarmHour = 6;
} // namespace

void tDataFile::SetFileName(const char* name) {
    const std::string text(OrEmpty(name));
    // A drive-qualified Windows path, or an absolute path here, is taken as it is.
    if ((text.size() >= 2 && text[1] == ':') || (!text.empty() && text[0] == '/')) {
        m_FileName = text;
        return;
    }
    m_FileName = FullPath(text);
}

void tDataFile::RemoveStaleSaves() const {
    const FolderLock lock(AtomicFile::ResolveTarget(m_FileName));
    if (lock.Fault() == tFileFault::None)
        AtomicFile::RemoveLeftovers(m_FileName);
}

tFileFault tDataFile::ReadFault() const {
    return ProfileReadFault(m_FileName.c_str());
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
    // Control characters (an escape sequence, a bell) are no part of a name and would work on
    // a terminal that lists it.
    const bool controls = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    // A day whose first name begins with "#" reads as empty in other programs' profile readers:
    // the name field refuses it, and so does every other way in.
    return !controls && ProfileKeyIsStorable(name) && name.front() != '#' &&
           name.size() <= kMaxNameLength;
}

// The names of the date's people: the key list of its section.  Returns how many names the
// list holds.  An empty default, not "#": a person whose name begins with "#" is a person.
int32_t tDataFile::ReadNameList(int32_t month, int32_t day, char (&list)[kKeyListSize]) const {
    const uint32_t copied = GetPrivateProfileString(SectionName(month, day).c_str(), nullptr, "",
                                                    list, sizeof list, m_FileName.c_str());
    if (copied == 0)
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
    std::optional<tEntry> entry = EntryAt(month, day, index);
    if (!entry)
        return false;
    name = std::move(entry->m_Name);
    picture = std::move(entry->m_Picture);
    return true;
}

std::optional<tDataFile::tEntry> tDataFile::EntryAt(int32_t month, int32_t day,
                                                    int32_t index) const {
    std::vector<tEntry> entries = ReadEntries(month, day);
    if (index < 0 || static_cast<size_t>(index) >= entries.size())
        return std::nullopt;
    return std::move(entries[static_cast<size_t>(index)]);
}

bool tDataFile::WriteEntry(int32_t month, int32_t day, const std::string& name,
                           const std::string& picture) {
    const bool written = WritePrivateProfileString(SectionName(month, day).c_str(), name.c_str(),
                                                   picture.c_str(), m_FileName.c_str());
    m_LastFault = ProfileWriteFault();
    Flush();
    return written;
}

bool tDataFile::DeleteEntry(int32_t month, int32_t day, const std::string& name) {
    const std::string section = SectionName(month, day);
    const bool removed =
        WritePrivateProfileString(section.c_str(), name.c_str(), nullptr, m_FileName.c_str());
    m_LastFault = ProfileWriteFault();
    // Only a section that really holds nobody goes.
    if (removed && !ProfileSectionHasKeys(section.c_str(), m_FileName.c_str()))
        WritePrivateProfileString(section.c_str(), nullptr, nullptr, m_FileName.c_str());
    Flush();
    return removed;
}

std::vector<tDataFile::tEntry> tDataFile::ReadEntries(int32_t month, int32_t day) const {
    // The list of names sets how many people the day has, as it always did; each one's
    // picture is then read by its place in the day, not looked up by a name that may read
    // like another's.
    char list[kKeyListSize];
    const int32_t count = ReadNameList(month, day, list);
    std::vector<tEntry> entries;
    if (count == 0)
        return entries;
    entries.reserve(static_cast<size_t>(count));
    const char* name = list;
    tProfileCache::Instance()
        .Get(m_FileName.c_str())
        ->ForEachEntry(SectionName(month, day), [&](std::string_view, std::string_view exact,
                                                    std::string_view value) {
            std::string picture(ProfileTrimmedValue(value));
            if (picture.size() >= kValueSize)
                picture.resize(kValueSize - 1);
            entries.push_back({month, day, name, std::move(picture), std::string(exact)});
            name += entries.back().m_Name.size() + 1;
            return static_cast<int32_t>(entries.size()) < count;
        });
    return entries;
}

bool tDataFile::DeleteEntry(const tEntry& entry) {
    const std::string section = SectionName(entry.m_Month, entry.m_Day);
    bool removed = false;
    m_LastFault = tProfileCache::Instance().Edit(m_FileName.c_str(), [&](tProfileFile& file) {
        removed = file.RemoveExactKey(section, entry.m_Exact);
        // Only a section that really holds nobody goes.
        if (removed && !file.HasKeys(section))
            file.RemoveSection(section);
        return removed;
    });
    return removed && m_LastFault == tFileFault::None;
}

std::vector<tDataFile::tEntry> tDataFile::ReadAllEntries() const {
    std::vector<tEntry> entries;
    for (int32_t month = 1; month <= 12; ++month)
        for (int32_t day = 1; day <= MonthLength(month); ++day) {
            std::vector<tEntry> people = ReadEntries(month, day);
            std::move(people.begin(), people.end(), std::back_inserter(entries));
        }
    return entries;
}

bool tDataFile::AddEntries(const std::vector<tEntry>& entries, std::vector<tAdded>& results) {
    return ChangeEntries({}, entries, results, {});
}

bool tDataFile::ChangeEntries(const std::vector<tEntry>& removals,
                              const std::vector<tEntry>& entries, std::vector<tAdded>& results,
                              const std::function<bool()>& underLock,
                              const std::function<bool()>& afterSave) {
    results.assign(entries.size(), tAdded::NotWritten);
    bool agreed = true;
    bool followed = true;
    m_LastFault = tProfileCache::Instance().Edit(
        m_FileName.c_str(),
        [&](tProfileFile& file) {
            bool changed = false;
            for (const tEntry& entry : removals) {
                const std::string section = SectionName(entry.m_Month, entry.m_Day);
                if (file.RemoveExactKey(section, entry.m_Exact)) {
                    changed = true;
                    if (!file.HasKeys(section))
                        file.RemoveSection(section);
                }
            }
            for (size_t i = 0; i < entries.size(); ++i) {
                const tEntry& entry = entries[i];
                if (!IsStorableName(entry.m_Name) || !ProfileValueIsStorable(entry.m_Picture)) {
                    results[i] = tAdded::NotStorable;
                    continue;
                }
                const std::string section = SectionName(entry.m_Month, entry.m_Day);
                size_t used = 0;
                bool there = false;
                const bool hadSection = file.ForEachKey(section, [&](std::string_view name) {
                    used += name.size() + 1;
                    there = there || CodePage::EqualNoCase(name, entry.m_Name);
                    return true;
                });
                if (there)
                    results[i] = tAdded::AlreadyThere;
                else if (!NameFits(used, entry.m_Name.size()))
                    results[i] = tAdded::DayFull;
                else if (file.SetValue(section, entry.m_Name, entry.m_Picture)) {
                    // Only a name of bytes that could be UTF-8 can change how the file reads.
                    const bool suspect = std::any_of(entry.m_Name.begin(), entry.m_Name.end(),
                                                     [](char c) { return c < 0; }) &&
                                         CodePage::LooksLikeUtf8(entry.m_Name);
                    if (suspect && !file.KeepsItsForm()) {
                        hadSection ? file.RemoveKey(section, entry.m_Name)
                                   : file.RemoveSection(section);
                        results[i] = tAdded::NotStorable;
                        continue;
                    }
                    results[i] = tAdded::Added;
                    changed = true;
                }
            }
            if (underLock && !underLock()) {
                agreed = false;
                throw std::runtime_error("the caller's file was not written"); // nothing saved
            }
            return changed;
        },
        [&] {
            followed = !afterSave || afterSave();
            return followed ? tFileFault::None : tFileFault::WriteFailed;
        });
    if (m_LastFault == tFileFault::None && agreed)
        return true;
    if (agreed && !followed)
        return false; // this file is saved; the caller's is not
    results.assign(entries.size(), tAdded::NotWritten);
    return false;
}

int tDataFile::ReadSetting(const char* key, int defaultValue) const {
    return GetPrivateProfileInt(kSettings, key, defaultValue, m_FileName.c_str());
}

bool tDataFile::WriteSetting(const char* key, long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    const bool written = WritePrivateProfileString(kSettings, key, text, m_FileName.c_str());
    if (!written)
        m_LastFault = ProfileWriteFault();
    return written;
}

// Placement coordinates far beyond any screen are taken as the farthest a screen could be,
// so that no arithmetic on them can overflow.
int32_t tDataFile::ReadCoordinate(const char* key, int defaultValue) const {
    constexpr int kFar = 1 << 20;
    return std::clamp(ReadSetting(key, defaultValue), -kFar, kFar);
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
    placement.ptMinPosition.x = ReadCoordinate("wp.MinPos.x", 100);
    placement.ptMinPosition.y = ReadCoordinate("wp.MinPos.y", 100);
    placement.ptMaxPosition.x = ReadCoordinate("wp.MaxPos.x", 100);
    placement.ptMaxPosition.y = ReadCoordinate("wp.MaxPos.y", 100);
    placement.rcNormalPosition.left = ReadCoordinate("wp.NormPos.l", 100);
    placement.rcNormalPosition.top = ReadCoordinate("wp.NormPos.t", 100);
    placement.rcNormalPosition.right = ReadCoordinate("wp.NormPos.r", 200);
    placement.rcNormalPosition.bottom = ReadCoordinate("wp.NormPos.b", 200);
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
    tLastAlarmMemo& memo = m_LastAlarmMemo;
    tProfileCache& cache = tProfileCache::Instance();
    cache.Get(m_FileName.c_str()); // takes the file's changes
    if (cache.Changes() != memo.m_Changes || now.GetTime() < memo.m_DayFrom ||
        now.GetTime() >= memo.m_DayTo || m_UnsavedLastAlarm != memo.m_Unsaved) {
        const struct tm today = now.GetLocalTm();
        const int hour = ReadAlarmHour();
        memo.m_None = CTime(today.tm_year + 1900, today.tm_mon + 1, 1, hour, 0, 0);
        const int day = ReadSetting("last_alarm_day", 1);
        const int month = ReadSetting("last_alarm_month", today.tm_mon + 1);
        const int year = ReadSetting("last_alarm_year", today.tm_year + 1900);
        // A damaged date reads as if none were stored: the scan would otherwise catch up (or
        // wait for) years of birthdays.  Checked before any arithmetic on the values.
        memo.m_Candidate.reset();
        if (month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
            year >= today.tm_year + 1900 - 11 && year <= today.tm_year + 1900 + 2)
            memo.m_Candidate = CTime(year, month, day, hour, 0, 0);
        memo.m_UnsavedCandidate.reset();
        if (m_UnsavedLastAlarm) {
            const struct tm unsaved = m_UnsavedLastAlarm->GetLocalTm();
            memo.m_UnsavedCandidate =
                CTime(unsaved.tm_year + 1900, unsaved.tm_mon + 1, unsaved.tm_mday, hour, 0, 0);
        }
        memo.m_DayFrom =
            CTime(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday, 0, 0, 0).GetTime();
        memo.m_DayTo =
            CTime(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday + 1, 0, 0, 0).GetTime();
        memo.m_Unsaved = m_UnsavedLastAlarm;
        memo.m_Changes = cache.Changes();
    }
    CTime stored = memo.m_None;
    constexpr long long kDay = 86400;
    if (memo.m_Candidate && *memo.m_Candidate >= now - CTimeSpan(3653 * kDay) &&
        *memo.m_Candidate <= now + CTimeSpan(366 * kDay))
        stored = *memo.m_Candidate;
    if (memo.m_UnsavedCandidate && *memo.m_UnsavedCandidate > stored)
        return *memo.m_UnsavedCandidate;
    return stored;
}

bool tDataFile::WriteLastAlarmDate(CTime moment) {
    const struct tm fields = moment.GetLocalTm();
    bool written = WriteSetting("last_alarm_day", fields.tm_mday);
    written = WriteSetting("last_alarm_month", fields.tm_mon + 1) && written;
    written = WriteSetting("last_alarm_year", fields.tm_year + 1900) && written;
    char progress[4] = "";
    if (GetPrivateProfileString(kSettings, kProgressKey, "", progress, sizeof progress,
                                m_FileName.c_str()) != 0)
        written = WritePrivateProfileString(kSettings, kProgressKey, nullptr, m_FileName.c_str()) &&
                  written;
    written = Flush() && written;
    m_UnsavedProgress.reset();
    if (written)
        m_UnsavedLastAlarm.reset();
    else
        m_UnsavedLastAlarm = moment;
    return written;
}

int32_t tDataFile::ReadAlarmHour() const {
    const int hour = ReadSetting("alarm_hour", kDefaultAlarmHour);
    return hour >= 0 && hour <= 23 ? hour : kDefaultAlarmHour;
}

bool tDataFile::WriteAlarmHour(int32_t hour) {
    if (hour < 0 || hour > 23)
        return false;
    const bool written = WriteSetting("alarm_hour", hour);
    return Flush() && written;
}

std::optional<tDataFile::tAlarmProgress> tDataFile::ReadAlarmProgress() const {
    if (m_UnsavedProgress)
        return m_UnsavedProgress;
    char text[64] = "";
    GetPrivateProfileString(kSettings, kProgressKey, "", text, sizeof text, m_FileName.c_str());
    tAlarmProgress progress;
    char rest = 0;
    // Anything but three plain numbers reads as no progress: every reminder comes again.
    if (std::sscanf(text, "%8d %8d %4d%c", &progress.m_On, &progress.m_Through, &progress.m_Count,
                    &rest) != 3 ||
        progress.m_On <= 0 || progress.m_Through <= 0 || progress.m_Count < 0)
        return std::nullopt;
    return progress;
}

bool tDataFile::WriteAlarmProgress(const tAlarmProgress& progress) {
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d", progress.m_On, progress.m_Through,
                  progress.m_Count);
    bool written = WritePrivateProfileString(kSettings, kProgressKey, text, m_FileName.c_str());
    if (!written)
        m_LastFault = ProfileWriteFault();
    written = Flush() && written;
    if (written)
        m_UnsavedProgress.reset();
    else
        m_UnsavedProgress = progress;
    return written;
}

std::string tDataFile::ReadLanguageText() const {
    char text[64] = "";
    GetPrivateProfileString(kSettings, "language", "", text, sizeof text, m_FileName.c_str());
    return text;
}

int32_t tDataFile::ReadLanguage() const {
    return ReadSetting("language", 1);
}
