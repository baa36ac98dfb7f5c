// One book's sync, decided: from the cards that changed on the server, the ones deleted there,
// the data file as it is and what both sides agreed last time, the people to remove from and
// add to the data file and the links to keep.  Deciding touches neither file nor network.
#pragma once

#include "addressbooks/tBookLinks.h"
#include "data/tDataFile.h"

#include <QString>

#include <optional>
#include <set>
#include <string>
#include <vector>

class tBookReconciler {
public:
    struct tCard {
        QString m_Href;
        QString m_ETag;
        std::string m_Text; // the vCard, UTF-8
    };
    // What the user reads of a sync: one person and what became of them.
    struct tChange {
        enum tKind { kAdded, kChanged, kRemoved, kKeptOut, kWritten, kConflict };
        std::string m_Name; // UTF-8
        int m_Month = 0;
        int m_Day = 0;
        tKind m_Kind = kAdded;
    };
    // A change made in Zembrola, to be written to the book.
    struct tWrite {
        enum tKind { kCreate, kUpdate, kDropBirthday };
        tKind m_Kind = kCreate;
        QString m_Href;
        QString m_ETag;     // If-Match; empty for a new card (If-None-Match: *)
        std::string m_Card; // the card as this sync fetched it; empty: fetched before writing
        tBookLinks::tContact m_Was;     // the link as it is
        tBookLinks::tContact m_Contact; // the link once the card is written
    };
    struct tPlan {
        std::vector<tDataFile::tEntry> m_Removals; // by their exact names
        std::vector<tDataFile::tEntry> m_Additions;
        std::vector<tChange> m_Changes;
        std::vector<tWrite> m_Writes;
        int m_Waiting = 0;                 // cards that wait for a gender
        std::set<std::string> m_LocalOnly; // the links' LocalOnly once the plan is carried out
    };

    // others: the links of every other book, so that one person in two books stays one.
    // localOnly: the links' people who stood for no card at the last sync.
    // pictures[0] and [1]: how many male and female pictures there are to spread.
    static tPlan Decide(tBookLinks::tBook& book,
                        const std::vector<const tBookLinks::tBook*>& others,
                        const std::vector<tCard>& changed, const std::vector<QString>& deleted,
                        const std::vector<tDataFile::tEntry>& people,
                        const std::optional<std::set<std::string>>& localOnly, int malePictures,
                        int femalePictures);
};
