// What Zembrola and each subscribed address book agreed at their last sync, kept beside the
// data file (Cal_Data/AddressBooks.json): the books, and per contact its card and the person
// it was written as.  A change on either side is found by comparing with it.
#pragma once

#include "data/tContactImport.h"
#include "data/tDataFile.h"
#include "platform/FileFault.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class tBookLinks {
public:
    struct tContact {
        QString m_Uid;
        QString m_ETag;
        // The person as the data file holds it; empty name: the card gives no birthday (or no
        // name), so nobody stands for it.
        std::string m_Name;  // the data file's code page
        std::string m_Exact; // UTF-8, as shown
        int m_Month = 0;
        int m_Day = 0;
        std::optional<int> m_Year;
        std::string m_Picture; // "f003"
        bool m_Hidden = false; // removed in Zembrola: not brought back by later syncs
        bool m_WaitsForGender = false;
        std::string m_Gender; // "m", "f": chosen in the window for a card that states none
        // Removed in Zembrola with the choice to take the birthday off the card too: the next
        // sync does so.
        bool m_DropBirthday = false;
    };
    struct tBook {
        QString m_Url;
        QString m_Name; // as the server names it; empty: none was given
        QString m_User;
        QString m_PasswordFile; // where the password is, when no secret store keeps it
        QString m_Fingerprint;  // SHA-256 of a certificate the user trusts though nobody vouches
        std::string m_Gender;   // "m", "f": for cards that state none; empty: they wait
        bool m_NewPeopleGoHere = false;
        QString m_SyncToken;
        QString m_LastSync;                     // ISO 8601, UTC
        QString m_Problem;                      // why the last sync failed; empty when it did not
        std::map<QString, tContact> m_Contacts; // by href (the path on the server)

        // As a user knows the book: its name (else the last part of its path) and its server.
        QString Shown() const;
    };

    std::vector<tBook> m_Books;
    // The people of the data file who stood for no card at the last sync, by LocalKey.  Anyone
    // else who stands for no card was added since, and goes to the book for new people.  None
    // before the first sync: everybody there then is taken as known.
    std::optional<std::set<std::string>> m_LocalOnly;

    static std::string LocalKey(int month, int day, const std::string& name);

    // The birth years the cards give, by LocalKey: the people whose age can be told.
    using tBirthYears = std::map<std::string, int>;
    // The years of birth of people imported from contact files, by LocalKey.
    tBirthYears m_ImportedYears;
    // Those and the ones the cards give (which count first).
    tBirthYears BirthYears() const;
    // Keeps the years of birth the imported cards that were added give; the file is left as
    // it is when none does.
    static tFileFault KeepImportedYears(const std::string& path,
                                        const std::vector<tContactImport::tContact>& contacts);
    // The age a person with that birth year reaches in year; none for no year, or an age that
    // would be none or negative (a year typed wrong).
    // The year a person of the data file was born in, as the years tell it; none when unknown.
    static std::optional<int> YearOf(const tBirthYears& years, int month, int day,
                                     const std::string& name);
    // The same for an export: a lookup that keeps the years.
    static std::function<std::optional<int>(const tDataFile::tEntry&)>
    YearLookup(tBirthYears years);
    static std::optional<int> Age(const tBirthYears& years, int year, int month, int day,
                                  const std::string& name);

    tBook* Find(const QString& url);

    // An absent file is no books.  False (and fault) when the file cannot be read or is no
    // links file: nothing is synced then, so nothing is lost.
    bool Load(const std::string& path, tFileFault* fault = nullptr);
    // The same from the file's text; false when it is no links file.
    bool LoadText(const std::string& text);
    tFileFault Save(const std::string& path) const;
    // The file's text, and a text made so written whole.
    QByteArray Serialized() const;
    static tFileFault SaveText(const std::string& path, const QByteArray& text);

    // Reads the file, lets edit change it and saves it, all under the data folder's save lock,
    // so that two programs changing it take turns.  edit returns whether it changed anything.
    static tFileFault Change(const std::string& path, const std::function<bool(tBookLinks&)>& edit);
};
