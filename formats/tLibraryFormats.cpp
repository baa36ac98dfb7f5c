#include "formats/tLibraryFormats.h"

#include <libebook-contacts/libebook-contacts.h>
#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

// The first year of every event: a leap year, so that 29 February is a date in it.
constexpr int kFirstYear = 2000;

struct tUnref {
    void operator()(EVCard* card) const { g_object_unref(card); }
};

// The parser warns on stderr about every card that bends the rules; the import's report says
// what matters instead.
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

// A text property whole: the parser splits every value at ";", which in FN is part of the name.
std::string WholeText(EVCardAttribute* attribute) {
    std::string text;
    for (GList* value = e_vcard_attribute_get_values(attribute); value; value = value->next) {
        if (value != e_vcard_attribute_get_values(attribute))
            text += ';';
        text += static_cast<const char*>(value->data);
    }
    return Trimmed(text);
}

std::string Text(EVCardAttribute* attribute, int index) {
    GList* values = e_vcard_attribute_get_values(attribute);
    const char* value = static_cast<const char*>(g_list_nth_data(values, index));
    return Trimmed(value ? value : "");
}

bool HasParam(EVCardAttribute* attribute, const char* name, const char* value) {
    GList* values = e_vcard_attribute_get_param(attribute, name);
    for (GList* item = values; item; item = item->next)
        if (g_ascii_strcasecmp(static_cast<const char*>(item->data), value) == 0)
            return true;
    return false;
}

} // namespace

const tLibraryFormats& tLibraryFormats::Instance() {
    static const tLibraryFormats formats;
    return formats;
}

tFormats::tCard tLibraryFormats::ReadCard(const std::string& source) const {
    static const bool quiet = [] {
        g_log_set_handler("libebook-contacts", G_LOG_LEVEL_MASK, Quiet, nullptr);
        return true;
    }();
    (void)quiet;
    const std::unique_ptr<EVCard, tUnref> card(e_vcard_new_from_string(source.c_str()));
    tCard read;
    if (EVCardAttribute* uid = e_vcard_get_attribute(card.get(), "UID"))
        read.m_Uid = Text(uid, 0);
    if (EVCardAttribute* fn = e_vcard_get_attribute(card.get(), "FN"))
        read.m_FullName = WholeText(fn);
    if (EVCardAttribute* n = e_vcard_get_attribute(card.get(), "N")) {
        read.m_Given = Text(n, 1);
        read.m_Family = Text(n, 0);
    }
    // vCard 4.0's GENDER M or F, else the X-GENDER that older address books write (Male,
    // Female, M, F); O, N, U and none leave the choice to the user.
    for (const char* name : {"GENDER", "X-GENDER"}) {
        EVCardAttribute* gender = e_vcard_get_attribute(card.get(), name);
        const std::string sex = gender ? Text(gender, 0) : std::string();
        for (const char* form : {"m", "f", "male", "female"})
            if (read.m_Gender.empty() && g_ascii_strcasecmp(sex.c_str(), form) == 0)
                read.m_Gender.assign(1, form[0]);
    }
    if (EVCardAttribute* birthday = e_vcard_get_attribute(card.get(), "BDAY")) {
        read.m_HasBirthday = true;
        read.m_BirthdayIsText = HasParam(birthday, "VALUE", "text");
        read.m_Birthday = Text(birthday, 0);
        if (GList* omitted = e_vcard_attribute_get_param(birthday, "X-APPLE-OMIT-YEAR"))
            read.m_OmittedYear = std::atoi(static_cast<const char*>(omitted->data));
    }
    return read;
}

std::string tLibraryFormats::WriteCalendar(const std::vector<tEvent>& events,
                                           std::time_t stamp) const {
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Zembrola//Zembrola//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
    const icaltimetype now =
        icaltime_from_timet_with_zone(stamp, 0, icaltimezone_get_utc_timezone());
    for (const tEvent& person : events) {
        icalcomponent* event = icalcomponent_new_vevent();
        icalcomponent_add_property(event, icalproperty_new_uid(person.m_Uid.c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(now));
        icaltimetype start = icaltime_null_date();
        start.year = kFirstYear;
        start.month = person.m_Month;
        start.day = person.m_Day;
        icalcomponent_add_property(event, icalproperty_new_dtstart(start));
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = ICAL_YEARLY_RECURRENCE;
        // The last day of February: the 28th in common years, as the reminders have it.
        if (person.m_Month == 2 && person.m_Day == 29) {
            rule.by_month[0] = 2;
            rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
            rule.by_month_day[0] = -1;
            rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
        icalcomponent_add_property(event, icalproperty_new_summary(person.m_Title.c_str()));
        if (!person.m_Description.empty())
            icalcomponent_add_property(event,
                                       icalproperty_new_description(person.m_Description.c_str()));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar, event);
    }
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string result = text ? text : "";
    std::free(text);
    icalcomponent_free(calendar);
    return result;
}
