#include "data/tCalendarExport.h"

#include "platform/AtomicFile.h"

#include <climits>
#include <cstdlib>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CodePage.h"
#include "platform/OrEmpty.h"

#include <glib.h>
#include <libical/ical.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The first year of every event: a leap year, so that 29 February is a date in it.
constexpr int kFirstYear = 2000;

std::string ReplaceSlot(const std::string& format, const std::string& value) {
    std::string text = format;
    if (const size_t slot = text.find("%s"); slot != std::string::npos)
        text.replace(slot, 2, value);
    else
        text.append(" ").append(value);
    return text;
}

} // namespace

std::string tCalendarExport::Uid(const tDataFile::tEntry& person) {
    char day[8];
    std::snprintf(day, sizeof day, "%02d%02d-", person.m_Month, person.m_Day);
    const std::string key = day + CodePage::Utf8FromAnsi(CodePage::Folded(person.m_Name));
    gchar* sum = g_compute_checksum_for_string(G_CHECKSUM_SHA1, key.c_str(), -1);
    std::string uid = std::string(day) + sum + "@zembrola";
    g_free(sum);
    return uid;
}

std::string tCalendarExport::Make(const std::vector<tDataFile::tEntry>& people,
                                  const std::string& summary, std::time_t stamp) {
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Zembrola//Zembrola//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
    const icaltimetype now =
        icaltime_from_timet_with_zone(stamp, 0, icaltimezone_get_utc_timezone());
    for (const tDataFile::tEntry& person : people) {
        icalcomponent* event = icalcomponent_new_vevent();
        icalcomponent_add_property(event, icalproperty_new_uid(Uid(person).c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(now));
        icaltimetype start = icaltime_null_date();
        start.year = kFirstYear;
        start.month = person.m_Month;
        start.day = person.m_Day;
        icalcomponent_add_property(event, icalproperty_new_dtstart(start));
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = ICAL_YEARLY_RECURRENCE;
        // The last day of February: the 28th in common years, as CelebratedDays has it.
        if (person.m_Month == 2 && person.m_Day == 29) {
            rule.by_month[0] = 2;
            rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
            rule.by_month_day[0] = -1;
            rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
        const std::string title = ReplaceSlot(summary, person.ShownName());
        icalcomponent_add_property(event, icalproperty_new_summary(title.c_str()));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar, event);
    }
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string result = OrEmpty(text);
    std::free(text);
    icalcomponent_free(calendar);
    return result;
}

namespace {

// The real path of the folder that holds path (links followed), or "" when there is none.
std::string RealFolder(const std::string& path) {
    std::string copy = path;
    char resolved[PATH_MAX];
    return realpath(dirname(copy.data()), resolved) ? std::string(resolved) : std::string();
}

} // namespace

std::optional<tMessage> tCalendarExport::RefuseTarget(const std::string& target,
                                                      const std::string& dataFile) {
    struct stat link {};
    if (lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        struct stat folder {};
        std::string copy = target;
        const bool shared =
            stat(dirname(copy.data()), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (link.st_uid != geteuid() || shared)
            return tMessage::ExportThroughLink;
    }
    const std::string resolved = AtomicFile::ResolveTarget(target);
    struct stat file {};
    if (stat(resolved.c_str(), &file) == 0 && file.st_uid != geteuid())
        return tMessage::ExportOtherOwner;
    const std::string data = RealFolder(dataFile), into = RealFolder(resolved);
    if (!data.empty() && (into == data || into.rfind(data + "/", 0) == 0))
        return tMessage::ExportIntoDataFolder;
    return std::nullopt;
}

tCalendarExport::tWritten tCalendarExport::WriteFile(const tDataFile& file,
                                                     const std::string& target, std::time_t stamp) {
    const auto failed = [](const std::string& why) {
        return tWritten{false, MessageText(tMessage::ExportFailed) + "\n" + why};
    };
    if (const tFileFault fault = file.ReadFault(); fault != tFileFault::None)
        return failed(MessageText(MessageForFault(fault), {file.GetFileName()}));
    if (const std::optional<tMessage> refused = RefuseTarget(target, file.GetFileName()))
        return failed(MessageText(*refused, {target}));
    const std::vector<tDataFile::tEntry> people = file.ReadAllEntries();
    const std::string calendar =
        Make(people, CodePage::Utf8FromAnsi(MessageText(tMessage::BirthdaySummary)), stamp);
    if (const tFileFault fault = AtomicFile::Replace(target, calendar); fault != tFileFault::None)
        return failed(MessageText(MessageForFault(fault), {target}));
    return {true, MessageText(tMessage::ExportDone, {std::to_string(people.size()), target})};
}
