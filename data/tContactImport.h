// Birthdays from address books: the cards of vCard files (2.1, 3.0 and 4.0, as GNOME Contacts,
// KDE, Thunderbird, Google, Apple and phones write them), checked against the data file and
// added to it in one save.
#pragma once

#include "data/tDataFile.h"
#include "support/Messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class tContactImport {
public:
    // Why a card is not added; None for a card that is (or will be) added.
    enum class tSkip {
        None,
        NoBirthday,   // no BDAY
        BirthdayText, // a BDAY that is no date with a month and a day ("circa 1980")
        NoName,       // neither FN nor N
        NoAnsiForm,   // a character the data file's code page lacks
        NotStorable,  // a name the data file cannot carry back as it is, or too long
        AlreadyThere, // the same name (any case) is on that day, or came before in the import
        DayFull,      // the day's list of names has no room for it
        NoGender,     // the card says none and none was chosen
        NotWritten,   // the data file refused the save
    };

    struct tContact {
        std::string m_ShownName; // UTF-8, as the card has it
        std::string m_Name;      // the data file's form (Windows-1252)
        int m_Month = 0;
        int m_Day = 0;
        std::string m_Gender;      // "m", "f", or empty when the card has none
        std::optional<int> m_Year; // of birth, when the card gives one
        int m_Picture = 0;
        tSkip m_Skip = tSkip::None;
    };

    // Adds every card of a vCard file's bytes (UTF-8 with or without a byte-order mark, or
    // Windows-1252), in file order.  Returns false when the bytes hold no card at all.
    bool Read(std::string_view bytes);
    // Reads a contact file's cards; what went wrong, if anything (the file goes in its "%s"):
    // too large, unreadable, or no cards in it.
    std::optional<tMessage> ReadFile(const std::string& path);
    // Checks each card against the data file as it is now and against the cards before it,
    // gives cards without a gender the one chosen (if any), and chooses pictures so that the
    // people of one day do not all look alike.  Cards read again start afresh.
    void Plan(const tDataFile& file, const std::string& chosenGender, int malePictures,
              int femalePictures);
    // Adds the cards that are to be added, in one save, each checked again against the file as
    // it is at that moment.  False when the file refused the save (every card then says so).
    bool Apply(tDataFile& file);

    int Count(tSkip skip) const;
    // "3 added, 1 skipped.", as the window and the terminal say it after Apply.
    std::string Summary() const;
    // What the user reads for a card's fate (None: added).
    static tMessage SkipMessage(tSkip skip);

    std::vector<tContact> m_Contacts;

    // A contact file larger than this is refused: no address book writes one.
    static constexpr uintmax_t kMaxFileSize = 64u << 20;

private:
    // What Read found, before any plan: the skip reasons that come from the card alone.
    std::vector<tSkip> m_CardSkips;
};
