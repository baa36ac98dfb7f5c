// The birthday data file: one section per date ("%02d-%02d" of day and month) with one entry
// per person (name = picture name), and the user's settings in the section "settings".
// Nothing is kept in memory: every question is answered from the file at that moment.
#pragma once

#include "platform/CTime.h"
#include "platform/CodePage.h"
#include "platform/FileFault.h"
#include "platform/WindowPlacement.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class tDataFile {
public:
    virtual ~tDataFile() = default;

    // Relative names are fixed to the current directory now.
    void SetFileName(const char* name);
    const std::string& GetFileName() const { return m_FileName; }

    // Removes what saves killed half-way left beside the file.
    void RemoveStaleSaves() const;
    // Why the file cannot be read now (None when it can, or is not there yet).  While it
    // cannot be read, nothing is written to it.
    tFileFault ReadFault() const;
    // Why the last write that failed failed.
    tFileFault LastFault() const { return m_LastFault; }

    static std::string SectionName(int32_t month, int32_t day);
    // The days a month's section can be for; February always has its 29th.
    static int32_t MonthLength(int32_t month) {
        constexpr int32_t kLengths[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        return month >= 1 && month <= 12 ? kLengths[month] : 0;
    }
    // Whether a name can be saved and read back exactly as it is: the profile format's rules
    // and short enough for a day's list of names.
    static bool IsStorableName(std::string_view name);
    static constexpr size_t kMaxNameLength = 50;

    int32_t CountEntries(int32_t month, int32_t day) const;
    bool ReadEntry(int32_t month, int32_t day, int32_t index, std::string& name,
                   std::string& picture) const;
    bool WriteEntry(int32_t month, int32_t day, const std::string& name,
                    const std::string& picture);
    bool DeleteEntry(int32_t month, int32_t day, const std::string& name);

    struct tEntry {
        int32_t m_Month = 0;
        int32_t m_Day = 0;
        std::string m_Name; // in the program's code page
        std::string m_Picture;
        // The name exactly as the file holds it, in UTF-8: what the person is shown as and
        // known by, so that two names alike in the code page ("Zo?") stay two people.
        std::string m_Exact;
        // The name to show: the exact form, or the code page's when that is not known.
        std::string ShownName() const {
            return m_Exact.empty() ? CodePage::Utf8FromAnsi(m_Name) : m_Exact;
        }
    };
    // The day's person at that place in its list.
    std::optional<tEntry> EntryAt(int32_t month, int32_t day, int32_t index) const;
    // Deletes that person, known by the name as the file holds it.
    bool DeleteEntry(const tEntry& entry);
    // Every person the window can show, in the order of the year and of each day's list.
    std::vector<tEntry> ReadAllEntries() const;
    // A day's people, as the window shows them.
    std::vector<tEntry> ReadEntries(int32_t month, int32_t day) const;
    // Whether one more name of that length fits in a day's list whose names already take
    // usedBytes (each name with its terminating NUL).
    static bool NameFits(size_t usedBytes, size_t length) {
        return usedBytes + length + 1 <= kKeyListSize - 1;
    }

    enum class tAdded { Added, AlreadyThere, DayFull, NotStorable, NotWritten };
    // Adds people in one save, each only when its day has no one of that name (any case) and
    // has room for it, judged by the file as it is under the save's lock.  results gets one
    // answer per entry.  False (every answer NotWritten, the cause in LastFault) when the file
    // refused the save.
    bool AddEntries(const std::vector<tEntry>& entries, std::vector<tAdded>& results);
    // Removes people (by their exact names) and then adds others as AddEntries does, in one
    // save, under the save's lock: underLock runs after the changes are decided and before the
    // file is replaced (false: nothing is saved); afterSave once it is replaced (a file of the
    // caller's that must never be ahead of this one is written there).  False when the file
    // refused the save or either call failed.
    bool ChangeEntries(const std::vector<tEntry>& removals, const std::vector<tEntry>& additions,
                       std::vector<tAdded>& results, const std::function<bool()>& underLock = {},
                       const std::function<bool()>& afterSave = {});

    bool ReadNotifyInAdvance() const;
    bool WriteNotifyInAdvance(bool flag);
    int32_t ReadNotifyDays() const;
    bool WriteNotifyDays(int32_t days);
    void ReadWindowPlacement(WINDOWPLACEMENT& placement) const;
    bool WriteWindowPlacement(const WINDOWPLACEMENT& placement);
    // The stored day at the hour of the reminders.  Writing it also drops the progress below:
    // a new last alarm date means nothing of the earlier scan is left waiting.
    CTime ReadLastAlarmDate() const;
    bool WriteLastAlarmDate(CTime moment);
    // The hour of the day from which a new day's reminders come (0-23, 6 unless set).
    int32_t ReadAlarmHour() const;
    bool WriteAlarmHour(int32_t hour);

    // How far the user got through a scan's reminders while some are still waiting, so that
    // the ones left come back after an exit and the ones acknowledged do not.  Dates are
    // yyyymmdd numbers: on the day m_On, every reminder for the days before m_Through and the
    // first m_Count of m_Through's were acknowledged.
    struct tAlarmProgress {
        int32_t m_On = 0;
        int32_t m_Through = 0;
        int32_t m_Count = 0;
        bool operator==(const tAlarmProgress&) const = default;
    };
    std::optional<tAlarmProgress> ReadAlarmProgress() const;
    bool WriteAlarmProgress(const tAlarmProgress& progress);
    int32_t ReadLanguage() const;
    // The language setting as the file writes it, for messages.
    std::string ReadLanguageText() const;

private:
    // The buffers the file format is read with.
    static constexpr uint32_t kKeyListSize = 1000;
    static constexpr uint32_t kValueSize = 100;

    int32_t ReadNameList(int32_t month, int32_t day, char (&list)[kKeyListSize]) const;
    int ReadSetting(const char* key, int defaultValue) const;
    int32_t ReadCoordinate(const char* key, int defaultValue) const;
    bool WriteSetting(const char* key, long value);
    bool Flush();

    std::string m_FileName;
    tFileFault m_LastFault = tFileFault::None;
    // A last alarm date that could not be written stays in force for this run, so that a
    // read-only file does not bring the same alarms back at every idle moment.
    std::optional<CTime> m_UnsavedLastAlarm;
    std::optional<tAlarmProgress> m_UnsavedProgress; // likewise, a progress not written

    // The idle step asks for the last alarm date all the time: what was read of one parsed
    // copy of the file on one local day is kept, and only the range checks against the clock
    // are made again.
    struct tLastAlarmMemo {
        uint64_t m_Changes = 0; // the profile cache's count of changes when read, 0: never
        int64_t m_DayFrom = 0;  // the local day read on: [from, to)
        int64_t m_DayTo = 0;
        std::optional<CTime> m_Unsaved;
        CTime m_None;
        std::optional<CTime> m_Candidate; // the stored date, still to be checked against now
        std::optional<CTime> m_UnsavedCandidate;
    };
    mutable tLastAlarmMemo m_LastAlarmMemo;
};
