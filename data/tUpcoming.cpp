#include "data/tUpcoming.h"

#include "data/CelebratedDays.h"

#include <chrono>

std::vector<tUpcoming::tItem> tUpcoming::Find(const tDataFile& file, int year, int month, int day,
                                              int days) {
    using namespace std::chrono;
    std::vector<tItem> items;
    const sys_days first{std::chrono::year{year} / month / day};
    for (int offset = 0; offset <= days; ++offset) {
        const year_month_day date{first + std::chrono::days{offset}};
        const int y = static_cast<int>(date.year()), m = static_cast<unsigned>(date.month()),
                  d = static_cast<unsigned>(date.day());
        for (const auto& stored : CelebratedDays(y, m, d))
            for (tDataFile::tEntry& entry : file.ReadEntries(stored.m_Month, stored.m_Day))
                items.push_back({offset, y, m, d, std::move(entry.m_Name)});
    }
    return items;
}
