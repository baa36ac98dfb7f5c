#include "app/AlarmScan.h"

#include "data/CelebratedDays.h"
#include "data/tCalendar.h"
#include "platform/tWorkStep.h"

namespace {

int32_t DateNumber(const struct tm& fields) {
    return (fields.tm_year + 1900) * 10000 + (fields.tm_mon + 1) * 100 + fields.tm_mday;
}

// Acknowledged in an earlier run: on the same day every record up to the progress, on a later
// day only those of days that were over by then (the others are announced anew, as every day).
bool Acknowledged(const std::optional<tDataFile::tAlarmProgress>& progress, int32_t today,
                  int32_t on, int32_t index) {
    if (!progress)
        return false;
    const bool before =
        on < progress->m_Through || (on == progress->m_Through && index < progress->m_Count);
    return before && (today == progress->m_On || on <= progress->m_On);
}

} // namespace

void RunAlarmScanStep(bool& alarmsArmed, tAlarmQueue& queue, tCalendar& calendar,
                      tBirthday* raised) {
    if (!alarmsArmed || !calendar.m_NotifyAdvance)
        return;
    const tWorkStep step;
    tDataFile& data = calendar.m_DataFile;
    const CTime now = CTime::GetCurrentTime();
    const CTime last = data.ReadLastAlarmDate(); // the stored day at the hour of the reminders
    if ((now - last).GetDays() >= 1) {
        queue.clear();
        const std::optional<tDataFile::tAlarmProgress> progress = data.ReadAlarmProgress();
        const int32_t today = DateNumber(now.GetLocalTm());
        const CTimeSpan day(1, 0, 0, 0);
        const CTime end = now + CTimeSpan(calendar.m_NotifyDays, 0, 0, 0);
        for (CTime current = last + day; current <= end; current = current + day) {
            const struct tm fields = current.GetLocalTm();
            const int32_t on = DateNumber(fields);
            int32_t index = 0;
            for (const auto& stored :
                 CelebratedDays(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday)) {
                const int people = calendar.CountPeople(stored.m_Month, stored.m_Day);
                for (int i = 0; i < people; ++i, ++index) {
                    if (Acknowledged(progress, today, on, index))
                        continue;
                    auto birthday = std::make_unique<tBirthday>();
                    if (std::optional<tDataFile::tEntry> entry =
                            data.EntryAt(stored.m_Month, stored.m_Day, i)) {
                        birthday->m_Name = std::move(entry->m_Name);
                        birthday->m_Picture = std::move(entry->m_Picture);
                        birthday->m_Exact = std::move(entry->m_Exact);
                    }
                    birthday->m_Month = stored.m_Month;
                    birthday->m_Day = stored.m_Day;
                    birthday->m_On = on;
                    birthday->m_Index = index;
                    queue.push_back(std::move(birthday));
                }
            }
        }
        // When someone is waiting, the date is written as the user acknowledges the last one.
        if (queue.empty())
            data.WriteLastAlarmDate(now);
    }
    if (!queue.empty()) {
        alarmsArmed = false;
        const std::unique_ptr<tBirthday> first = std::move(queue.front());
        queue.erase(queue.begin());
        if (raised)
            *raised = *first;
        calendar.RaiseAlarm(first->m_Month, first->m_Day, first->m_Name, first->m_Picture,
                            first->m_Exact);
    }
}

void AcknowledgeAlarm(bool& alarmsArmed, const tAlarmQueue& queue, const tBirthday& raised,
                      tDataFile& data) {
    const CTime now = CTime::GetCurrentTime();
    if (queue.empty())
        data.WriteLastAlarmDate(now);
    else
        data.WriteAlarmProgress({DateNumber(now.GetLocalTm()), raised.m_On, raised.m_Index + 1});
    alarmsArmed = true;
}
