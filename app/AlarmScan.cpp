#include "app/AlarmScan.h"

#include "data/tCalendar.h"

void RunAlarmScanStep(bool& alarmsArmed, tAlarmQueue& queue, tCalendar& calendar) {
    if (!alarmsArmed || !calendar.m_NotifyAdvance)
        return;
    tDataFile& data = calendar.m_DataFile;
    const CTime now = CTime::GetCurrentTime();
    const CTime last = data.ReadLastAlarmDate(); // the stored day at 06:00
    if ((now - last).GetDays() >= 1) {
        queue.clear();
        const CTimeSpan day(1, 0, 0, 0);
        const CTime end = now + CTimeSpan(calendar.m_NotifyDays, 0, 0, 0);
        for (CTime current = last + day; current <= end; current = current + day) {
            const struct tm fields = current.GetLocalTm();
            const int month = fields.tm_mon + 1, dayOfMonth = fields.tm_mday;
            const int people = calendar.CountPeople(month, dayOfMonth);
            for (int i = 0; i < people; ++i) {
                auto birthday = std::make_unique<tBirthday>();
                data.ReadEntry(month, dayOfMonth, i, birthday->m_Name, birthday->m_Picture);
                birthday->m_Month = month;
                birthday->m_Day = dayOfMonth;
                queue.push_back(std::move(birthday));
            }
        }
        // When someone was found, the date is written as the user acknowledges the alarm.
        if (queue.empty())
            data.WriteLastAlarmDate(now);
    }
    if (!queue.empty()) {
        alarmsArmed = false;
        const std::unique_ptr<tBirthday> first = std::move(queue.front());
        queue.erase(queue.begin());
        calendar.RaiseAlarm(first->m_Month, first->m_Day, first->m_Name, first->m_Picture);
    }
}
