#include "data/tCalendarExport.h"
#include "data/tPersonFinder.h"
#include "data/tUpcoming.h"
#include "tests/support/TestSupport.h"

#include <libical/ical.h>

#include <map>

namespace {

using tEntry = tDataFile::tEntry;

// The events of an exported calendar, parsed back: UID -> (summary, dates of 2027 and 2028).
std::map<std::string, std::pair<std::string, std::vector<std::string>>>
Parse(const std::string& text) {
    std::map<std::string, std::pair<std::string, std::vector<std::string>>> events;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        auto& [summary, dates] = events[icalcomponent_get_uid(event)];
        summary = icalcomponent_get_summary(event);
        const icaltimetype start = icalcomponent_get_dtstart(event);
        EXPECT_TRUE(start.is_date) << "an all-day event";
        icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
        for (icaltimetype next = icalrecur_iterator_next(it);
             !icaltime_is_null_time(next) && next.year <= 2028; next = icalrecur_iterator_next(it))
            if (next.year >= 2027)
                dates.push_back(icaltime_as_ical_string(next));
        icalrecur_iterator_free(it);
    }
    icalcomponent_free(calendar);
    return events;
}

TEST(CalendarExport, EveryPersonEveryYearOnTheDayWithAStableUid) {
    const std::vector<tEntry> people = {{12, 24, "Zo\xEB, Berg", "f001", {}},
                                        {2, 29, "Leap", "m002", {}},
                                        {12, 24, "Ben", "m000", {}}};
    const auto events = Parse(tCalendarExport::Make(people, "Birthday: %s", 1'800'000'000).value());
    ASSERT_EQ(events.size(), 3u);
    const auto zoe = events.at(tCalendarExport::Uid(people[0]));
    EXPECT_EQ(zoe.first, "Birthday: Zo\xC3\xAB, Berg") << "UTF-8, the comma kept";
    EXPECT_EQ(zoe.second, (std::vector<std::string>{"20271224", "20281224"}));
    EXPECT_EQ(events.at(tCalendarExport::Uid(people[1])).second,
              (std::vector<std::string>{"20270228", "20280229"}))
        << "the last day of February in a common year";

    // The same person with other case or picture keeps the identifier; another day does not.
    EXPECT_EQ(tCalendarExport::Uid(people[0]),
              tCalendarExport::Uid({12, 24, "zo\xCB, BERG", "m9", {}}));
    EXPECT_NE(tCalendarExport::Uid(people[0]),
              tCalendarExport::Uid({12, 25, "Zo\xEB, Berg", "", {}}));
}

class UpcomingTest : public testing::Test {
protected:
    void SetUp() override {
        m_Data.SetFileName("Cal_Data\\DataFile.txt");
        TestSupport::WriteFile(m_Scratch / "Cal_Data/DataFile.txt",
                               "[31-12]\nEve=f001\n[01-01]\nNew=m001\nYear=f002\n[29-02]\n"
                               "Leap=m003\n[28-02]\nBefore=f004\n");
    }
    std::vector<std::string> Next(int year, int month, int day, int days) {
        std::vector<std::string> lines;
        for (const tUpcoming::tItem& item : tUpcoming::Find(m_Data, year, month, day, days))
            lines.push_back(std::to_string(item.m_InDays) + " " + std::to_string(item.m_Year) +
                            "-" + std::to_string(item.m_Month) + "-" + std::to_string(item.m_Day) +
                            " " + item.m_Name);
        return lines;
    }
    TestSupport::tScratch m_Scratch;
    tDataFile m_Data;
};

TEST_F(UpcomingTest, AcrossTheYearsEndAndLeapDays) {
    EXPECT_EQ(Next(2026, 12, 31, 1),
              (std::vector<std::string>{"0 2026-12-31 Eve", "1 2027-1-1 New", "1 2027-1-1 Year"}));
    EXPECT_EQ(Next(2027, 2, 27, 2),
              (std::vector<std::string>{"1 2027-2-28 Before", "1 2027-2-28 Leap"}));
    EXPECT_EQ(Next(2028, 2, 28, 1),
              (std::vector<std::string>{"0 2028-2-28 Before", "1 2028-2-29 Leap"}));
    EXPECT_TRUE(Next(2027, 3, 1, 14).empty());
}

TEST_F(UpcomingTest, FindIgnoresCaseAndAccentsAndGoesRound) {
    TestSupport::WriteFile(m_Scratch / "Cal_Data/DataFile.txt",
                           "[01-01]\nZo\xEB Martin=f001\n[05-03]\nZOE Smith=f002\n"
                           "[06-03]\nJ\xFCrgen Stra\xDF"
                           "e=m001\n");
    tPersonFinder finder;
    finder.Load(m_Data);
    EXPECT_EQ(finder.Find("zoe"), 0);
    EXPECT_EQ(finder.Find("zo\xCB", 1), 1);
    EXPECT_EQ(finder.Find("ZOE", 2), 0) << "past the end it goes round";
    EXPECT_EQ(finder.Find("strasse"), 2);
    EXPECT_EQ(finder.Find("jurg"), 2);
    EXPECT_EQ(finder.Find("nobody"), -1);
    EXPECT_EQ(finder.Find(""), -1);
}

} // namespace

namespace {

// The export as the window and the terminal make it: written and said, or refused and said,
// with nothing written.
TEST(CalendarExport, WritingAFileSaysWhatHappened) {
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::EmptyCalData);
    TestSupport::WriteFile("Cal_Data/DataFile.txt", "[24-12]\nAnna=f001\n[01-01]\nBen=m002\n");
    tDataFile file;
    file.SetFileName("Cal_Data\\DataFile.txt");
    const struct {
        const char* m_Name;
        const char* m_Target;
        int m_ReadError;
        bool m_Done;
        const char* m_Said;
    } rows[] = {
        // First: a file once read is known to the program.
        {"a data file that cannot be read", "unread.ics", EIO, false, "cannot be read"},
        {"two people", "out.ics", 0, true, "2 birthdays were written to out.ics."},
        {"onto the data file", "Cal_Data/DataFile.txt", 0, false, "data folder"},
        {"into a missing folder", "no/such/out.ics", 0, false, "does not exist"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        TestSupport::InjectReadError(row.m_ReadError);
        const tCalendarExport::tWritten written = tCalendarExport::WriteFile(file, row.m_Target, 0);
        TestSupport::InjectReadError(0);
        EXPECT_EQ(written.m_Done, row.m_Done);
        EXPECT_NE(written.m_Report.find(row.m_Said), std::string::npos) << written.m_Report;
        EXPECT_EQ(TestSupport::FileExists(row.m_Target),
                  row.m_Done || std::string(row.m_Target) == "Cal_Data/DataFile.txt");
    }
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"),
              "[24-12]\nAnna=f001\n[01-01]\nBen=m002\n");
}

} // namespace
