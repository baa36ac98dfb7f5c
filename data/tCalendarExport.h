// The birthdays as an iCalendar file (RFC 5545) for other calendar programs: one all-day event
// per person that repeats every year on its day.  29 February falls on the last day of
// February in common years, so that it is never skipped.
#pragma once

#include "data/tDataFile.h"
#include "support/Messages.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class tCalendarExport {
public:
    // The year a person was born in, where an address book tells it.
    using tBirthYear = std::function<std::optional<int>(const tDataFile::tEntry&)>;

    // summary is the event's title in UTF-8, with "%s" where the name goes; bornIn the
    // description of an event whose person's year is known, with "%s" where the year goes.
    // stamp is when the calendar was made.  None when the formats' plugin cannot be loaded.
    static std::optional<std::string> Make(const std::vector<tDataFile::tEntry>& people,
                                           const std::string& summary, std::time_t stamp,
                                           const tBirthYear& year = {},
                                           const std::string& bornIn = {});
    // The same person on the same day has the same identifier in every export, whatever the
    // case of the name and the picture, so that a calendar replaces the event, not doubles it.
    static std::string Uid(const tDataFile::tEntry& person);
    // Why the calendar must not be written to target, if it must not: a file of the data
    // folder (dataFile's), a link another user could have planted (one not ours, or in a
    // folder others may write to), or another user's file.
    static std::optional<tMessage> RefuseTarget(const std::string& target,
                                                const std::string& dataFile);

    // An export as the window and the terminal make it: every birthday of the data file into
    // target, refused for a target RefuseTarget refuses and for a data file that cannot be
    // read whole (an empty calendar would pass for a year without birthdays).  m_Report is
    // what the user reads, in the program's code page.
    struct tWritten {
        bool m_Done = false;
        std::string m_Report;
    };
    static tWritten WriteFile(const tDataFile& file, const std::string& target, std::time_t stamp,
                              const tBirthYear& year = {});
};
