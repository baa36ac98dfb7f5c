// One book's sync, decided: from the cards that changed on the server, the ones deleted there,
// the data file as it is and what both sides agreed last time, the people to remove from and
// add to the data file and the links to keep.  Deciding touches neither file nor network.
#pragma once

#include "addressbooks/tBookLinks.h"
#include "data/tDataFile.h"

#include <QString>

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
        enum tKind { kAdded, kChanged, kRemoved, kKeptOut };
        std::string m_Name; // UTF-8
        int m_Month = 0;
        int m_Day = 0;
        tKind m_Kind = kAdded;
    };
    struct tPlan {
        std::vector<tDataFile::tEntry> m_Removals; // by their exact names
        std::vector<tDataFile::tEntry> m_Additions;
        std::vector<tChange> m_Changes;
        int m_Waiting = 0; // cards that wait for a gender
    };

    // others: the links of every other book, so that one person in two books stays one.
    // pictures[0] and [1]: how many male and female pictures there are to spread.
    static tPlan Decide(tBookLinks::tBook& book,
                        const std::vector<const tBookLinks::tBook*>& others,
                        const std::vector<tCard>& changed, const std::vector<QString>& deleted,
                        const std::vector<tDataFile::tEntry>& people, int malePictures,
                        int femalePictures);
};
