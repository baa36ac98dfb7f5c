// The birthdays of the coming days: the tray icon's tip and "zembrola --next".  29 February
// counts on 28 February in common years (CelebratedDays), as for the reminder.
#pragma once

#include "data/tDataFile.h"

#include <string>
#include <vector>

class tUpcoming {
public:
    struct tItem {
        int m_InDays = 0; // 0 today, 1 tomorrow, ...
        int m_Year = 0;
        int m_Month = 0;
        int m_Day = 0;
        std::string m_Name; // the data file's form
    };

    // From the given day to days later, nearest first, each day's people in their order.
    static std::vector<tItem> Find(const tDataFile& file, int year, int month, int day, int days);
};
