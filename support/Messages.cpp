#include "support/Messages.h"

#include "support/tLanguageString.h"

#include <iterator>

namespace {

struct tText {
    const char* m_Key;
    const char* m_English;
};

// In the order of tMessage.
constexpr tText kTexts[] = {
    {"could not save", "The birthday could not be saved."},
    {"could not delete", "The birthday could not be deleted."},
    {"could not save settings", "Your settings could not be saved."},
    {"file unreadable",
     "%s cannot be read. Zembrola writes nothing to it until it can, so that no birthday is "
     "lost."},
    {"file not regular", "%s is not an ordinary file."},
    {"file read-only", "%s, or its folder, may not be written."},
    {"folder missing", "The folder of %s does not exist."},
    {"file owner", "%s belongs to another user or group, and saving it would change that."},
    {"write failed", "Writing %s failed; the disk may be full."},
    {"file busy", "Another program is saving %s; try again in a moment."},
    {"name not storable", "This name cannot be stored."},
    {"name refused", "This character cannot be part of a name."},
    {"name too long", "A name can have at most 50 characters."},
    {"day full", "There is no room for another name on this day."},
    {"replace person", "%s already has a birthday on %s. Replace it with the new entry?"},
    {"delete person", "Delete the birthday of %s on %s?"},
    {"replace", "Replace"},
    {"cancel", "Cancel"},
    {"delete", "Delete"},
    {"picture missing", "The picture %s is missing; the default picture is shown instead."},
    {"no help program", "No program is installed that can open the help file %s."},
    {"ok", "OK"},
    {"import contacts", "Import contacts\x85"},
    {"export calendar", "Export calendar\x85"},
    {"find", "Find\x85"},
    {"import title", "Import contacts"},
    {"import", "Import"},
    {"column name", "Name"},
    {"column date", "Birthday"},
    {"column gender", "Gender"},
    {"column result", "Result"},
    {"choose gender", "Choose\x85"},
    {"male", "Male"},
    {"female", "Female"},
    {"will add", "will be added"},
    {"added", "added"},
    {"no birthday", "no birthday"},
    {"birthday not a date", "the birthday is not a day and month"},
    {"no name", "no name"},
    {"foreign characters", "the name has characters that cannot be stored"},
    {"name cannot be stored", "the name cannot be stored as it is"},
    {"already there", "already on this day"},
    {"no room", "no room left on this day"},
    {"no gender", "no gender given"},
    {"not written", "not written"},
    {"import summary", "%s added, %s skipped."},
    {"import plan", "%s will be added, %s skipped."},
    {"no cards", "%s holds no contact cards."},
    {"contact files", "Contact files"},
    {"calendar files", "Calendar files"},
    {"birthday summary", "Birthday: %s"},
    {"export done", "%s birthdays were written to %s."},
    {"export failed", "The calendar could not be written."},
    {"today", "today"},
    {"tomorrow", "tomorrow"},
    {"in days", "in %s days"},
    {"find hint", "Find a person"},
    {"not found", "Nobody found"},
    {"sunday", "Sunday"},
    {"monday", "Monday"},
    {"tuesday", "Tuesday"},
    {"wednesday", "Wednesday"},
    {"thursday", "Thursday"},
    {"friday", "Friday"},
    {"saturday", "Saturday"},
    {"more days", "More days of notice"},
    {"fewer days", "Fewer days of notice"},
    {"delete shown", "Delete the person shown"},
    {"previous picture", "Previous picture"},
    {"next picture", "Next picture"},
    {"previous person", "Previous person"},
    {"next person", "Next person"},
    {"birthdays on day", "%s birthdays"},
    {"one birthday", "1 birthday"},
    {"picture of", "Picture of %s"},
    {"later", "Later"},
    {"remind me at", "Remind me at"},
    {"help title", "Zembrola help"},
    {"export into data folder",
     "%s is in Zembrola's data folder, where the calendar would replace your birthdays or "
     "texts; choose a place outside it."},
    {"export through link",
     "%s is a link that another user could have made; Zembrola does not write through it. "
     "Choose another name."},
    {"export other owner",
     "%s belongs to another user; Zembrola does not write your birthdays into it. Choose "
     "another name."},
    {"contact file too big", "%s is larger than 64 MB, too large for a contact file."},
    {"contact file unreadable", "%s cannot be read."},
    {"gender for all", "Every card without a gender:"},
    {"import reading", "Reading the contact cards\x85"},
    {"usage", "Usage: zembrola [OPTION]"},
    {"usage about",
     "A birthday calendar in the system tray. Without an option it opens its window. It works "
     "in Cal_Data/ below the current directory (the installed launcher goes to the user's data "
     "folder first)."},
    {"usage import",
     "add the birthdays of address-book cards (vCard 2.1, 3.0, 4.0); cards without a gender "
     "take the one given, or are skipped"},
    {"usage export",
     "write every birthday to an iCalendar file, one yearly event each (29 February falls on "
     "28 February in common years)"},
    {"usage next",
     "list the birthdays from today to DAYS days ahead (the days of notice when not given): the "
     "date, a tab and the name"},
    {"usage help", "show this text"},
    {"next takes days", "--next takes a number of days from 0 to 366."},
    {"gender takes m or f", "--gender takes m or f."},
    {"usage add book",
     "subscribe to the address books at URL (a server, or one book): their birthdays are kept in "
     "step with the data file; the password, read from stdin, is kept in the desktop's secret "
     "store, "
     "or read from FILE, a file only you may read; --trust-fingerprint trusts a certificate no "
     "authority vouches for, by its SHA-256 fingerprint; --gender is given to cards that state "
     "none; --write: people added in Zembrola become contacts in this book"},
    {"usage books", "list the subscribed address books and their last sync"},
    {"usage remove book", "end the subscription to the address book at URL; its people stay"},
    {"usage sync", "sync every subscribed address book now: a line per change, then a summary"},
    {"sync changed", "changed"},
    {"sync removed", "removed"},
    {"sync kept out", "removed in Zembrola, kept out"},
    {"sync summary", "%s changes; %s address books could not be synced."},
    {"book subscribed", "Subscribed: %s"},
    {"no books", "No address book is subscribed."},
    {"sync waiting", "%s contacts wait for a gender."},
    {"sync written", "written to the address book"},
    {"sync conflict", "changed on both sides: the address book's version was kept"},
    {"drop birthday question",
     "%s is also in the address book %s. Remove the birthday from the contact there as well? The "
     "contact itself stays."},
    {"drop birthday", "Remove it there too"},
    {"keep in book", "Keep it there"},
    {"sync now", "Sync address books now"},
    {"sync conflict note",
     "Changed here and in the address book at the same time; the address book's version was "
     "kept. Your change, to make again if you wish: %s"},
    {"turns age", "%s turns %s"},
    {"books menu", "Address books…"},
    {"books title", "Address books"},
    {"books column book", "Address book"},
    {"books column last sync", "Last sync"},
    {"books column state", "State"},
    {"books column new people", "New people go here"},
    {"books in step", "in step"},
    {"books never synced", "not synced yet"},
    {"books syncing", "syncing…"},
    {"books failed", "failed: %s"},
    {"books add", "Add…"},
    {"books remove", "Remove"},
    {"books sync now", "Sync now"},
    {"books close", "Close"},
    {"books waiting", "Contacts that wait for a gender:"},
    {"books none", "No address book is subscribed yet. Add one, and its birthdays stay in step "
                   "with the calendar."},
    {"books add title", "Subscribe to an address book"},
    {"books address", "Server or address book:"},
    {"books user", "User name:"},
    {"books password", "Password:"},
    {"books genderless", "Cards without a gender:"},
    {"books gender wait", "wait for my choice"},
    {"books write", "People added in Zembrola become contacts in this book"},
    {"books subscribe", "Subscribe"},
    {"books looking", "Looking for address books…"},
    {"books untrusted", "No authority vouches for the certificate of %s. Trust it only if the "
                        "SHA-256 fingerprint below is your own server's."},
    {"books trust", "Trust this certificate"},
    {"books remove question", "End the subscription to %s? Its people stay in the calendar."},
    {"born in", "Born in %s."},
};

static_assert(std::size(kTexts) == static_cast<size_t>(tMessage::Count));

} // namespace

const char* MessageKey(tMessage message) {
    return kTexts[static_cast<int>(message)].m_Key;
}

const char* MessageFallback(tMessage message) {
    return kTexts[static_cast<int>(message)].m_English;
}

std::string MessageText(tMessage message, std::initializer_list<std::string> values) {
    const tText& text = kTexts[static_cast<int>(message)];
    std::string result = g_LanguageString.GetStringOr(text.m_Key, text.m_English);
    size_t from = 0;
    for (const std::string& value : values) {
        const size_t slot = result.find("%s", from);
        if (slot == std::string::npos)
            break;
        result.replace(slot, 2, value);
        from = slot + value.size();
    }
    return result;
}

tMessage MessageForFault(tFileFault fault) {
    // In the order of tFileFault; a fault without a message of its own is a failed write.
    static constexpr tMessage kMessages[] = {
        tMessage::WriteFailed,  tMessage::FileUnreadable, tMessage::FileNotRegular,
        tMessage::FileReadOnly, tMessage::FolderMissing,  tMessage::FileOwner,
        tMessage::WriteFailed,  tMessage::FileBusy,       tMessage::NameNotStorable};
    const auto index = static_cast<size_t>(fault);
    return index < std::size(kMessages) ? kMessages[index] : tMessage::WriteFailed;
}
