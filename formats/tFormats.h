// The address-book and calendar formats (vCard cards in, iCalendar out), read and written by
// libraries that only an import or an export needs.  They live in a plugin loaded at the first
// import or export, so that a start of the program loads none of them.
#pragma once

#include <QtPlugin>

#include <ctime>
#include <string>
#include <vector>

class tFormats {
public:
    // What an import needs of one card; texts in UTF-8, trimmed.
    struct tCard {
        std::string m_Uid;             // UID
        std::string m_FullName;        // FN, whole (a ";" in it is part of the name)
        std::string m_Given;           // N's given name
        std::string m_Family;          // N's family name
        std::string m_Gender;          // "m", "f", or empty when the card states neither
        bool m_HasBirthday = false;    // a BDAY is there
        bool m_BirthdayIsText = false; // BDAY;VALUE=text: not a date
        std::string m_Birthday;        // BDAY's value as written
        int m_OmittedYear = 0;         // BDAY's X-APPLE-OMIT-YEAR: the year that stands for none
    };
    // One all-day event that repeats every year on its day.
    struct tEvent {
        std::string m_Uid;
        int m_Month = 0;
        int m_Day = 0;
        std::string m_Title;       // UTF-8
        std::string m_Description; // UTF-8; empty: none
    };

    virtual ~tFormats() = default;
    // card: one card's text in UTF-8, from its BEGIN:VCARD line to its END:VCARD line.
    virtual tCard ReadCard(const std::string& card) const = 0;
    // The iCalendar text of the events; stamp is when it was made.
    virtual std::string WriteCalendar(const std::vector<tEvent>& events,
                                      std::time_t stamp) const = 0;

    // The formats, loaded at the first call; none when the plugin cannot be loaded (an
    // incomplete installation), and LoadError says why.
    static const tFormats* Get();
    static const std::string& LoadError();
    // Sets the formats to use instead of the plugin (a program that links them in).
    static void Use(const tFormats* formats);
};

#define tFormats_iid "org.zembrola.Formats/4"
Q_DECLARE_INTERFACE(tFormats, tFormats_iid)
