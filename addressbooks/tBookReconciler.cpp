#include "addressbooks/tBookReconciler.h"

#include "data/tBirthdayDate.h"
#include "formats/tFormats.h"
#include "platform/CodePage.h"

#include <QCryptographicHash>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <map>
#include <type_traits>
#include <unordered_map>

namespace {

using tContact = tBookLinks::tContact;
using tEntry = tDataFile::tEntry;

// The person a link stands for, as the data file would hold it.
tEntry EntryOf(const tContact& contact) {
    return {contact.m_Month, contact.m_Day, contact.m_Name, contact.m_Picture, contact.m_Exact};
}

bool SamePerson(const tEntry& a, int month, int day, const std::string& name) {
    return a.m_Month == month && a.m_Day == day && CodePage::EqualNoCase(a.m_Name, name);
}

// The data file as the plan leaves it, by day and name without regard to case: a day holds a
// name once, and thousands of cards are looked up in it.
class tPeople {
public:
    explicit tPeople(const std::vector<tEntry>& people) {
        for (const tEntry& person : people)
            m_People.emplace(Key(person.m_Month, person.m_Day, person.m_Name), person);
    }
    const tEntry* Holds(int month, int day, const std::string& name) const {
        const auto found = m_People.find(Key(month, day, name));
        return found == m_People.end() ? nullptr : &found->second;
    }
    void Add(const tEntry& person) {
        m_People.emplace(Key(person.m_Month, person.m_Day, person.m_Name), person);
    }
    void Remove(const tEntry& person) {
        m_People.erase(Key(person.m_Month, person.m_Day, person.m_Name));
    }
    template <typename tVisit>
    void ForEach(tVisit visit) const {
        for (const auto& [key, person] : m_People)
            visit(person);
    }

private:
    static std::string Key(int month, int day, const std::string& name) {
        return std::to_string(month * 100 + day) + "|" + CodePage::Folded(name);
    }
    std::unordered_map<std::string, tEntry> m_People;
};

// A picture for a new person, the same for the same name every time: so that two computers
// syncing one book show the same face.
std::string PictureFor(const std::string& name, const std::string& gender, int male, int female) {
    const int count = std::max(1, gender == "m" ? male : female);
    const QByteArray sum =
        QCryptographicHash::hash(QByteArray::fromStdString(name), QCryptographicHash::Sha1);
    const unsigned spread =
        (static_cast<unsigned char>(sum[0]) << 8) | static_cast<unsigned char>(sum[1]);
    char picture[16];
    std::snprintf(picture, sizeof picture, "%s%03d", gender.c_str(),
                  static_cast<int>(spread % static_cast<unsigned>(count)) + 1);
    return picture;
}

// Whether another book's link already stands for this person (same card, or same name and day).
bool OtherBookHas(const std::vector<const tBookLinks::tBook*>& others, const QString& uid,
                  int month, int day, const std::string& name) {
    for (const tBookLinks::tBook* other : others)
        for (const auto& [href, contact] : other->m_Contacts)
            if (!contact.m_Name.empty() && ((!uid.isEmpty() && contact.m_Uid == uid) ||
                                            SamePerson(EntryOf(contact), month, day, name)))
                return true;
    return false;
}

// The people some book's card stands for, by tBookLinks::LocalKey.
std::set<std::string> LinkedPeople(const tBookLinks::tBook& book,
                                   const std::vector<const tBookLinks::tBook*>& others) {
    std::set<std::string> linked;
    const auto take = [&](const tBookLinks::tBook& from) {
        for (const auto& [href, contact] : from.m_Contacts)
            if (!contact.m_Name.empty() && !contact.m_Hidden && !contact.m_WaitsForGender)
                linked.insert(tBookLinks::LocalKey(contact.m_Month, contact.m_Day, contact.m_Name));
    };
    take(book);
    for (const tBookLinks::tBook* other : others)
        take(*other);
    return linked;
}

// What a card says, as a link would keep it, and the gender it gives (or the book's).
tContact Read(const tBookReconciler::tCard& card, const tBookLinks::tBook& book,
              const tFormats* formats, std::string* gender) {
    tContact now;
    now.m_ETag = card.m_ETag;
    if (!formats)
        return now;
    const tFormats::tCard fields = formats->ReadCard(card.m_Text);
    now.m_Uid = QString::fromStdString(fields.m_Uid);
    std::string name = fields.m_FullName;
    if (name.empty())
        name = fields.m_Given.empty() || fields.m_Family.empty()
                   ? fields.m_Given + fields.m_Family
                   : fields.m_Given + " " + fields.m_Family;
    const std::optional<tBirthdayDate> date =
        fields.m_HasBirthday
            ? tBirthdayDate::Parse(fields.m_Birthday, fields.m_BirthdayIsText, fields.m_OmittedYear)
            : std::nullopt;
    const std::string ansi = CodePage::AnsiFromUtf8(name);
    if (date && !name.empty() && tDataFile::IsStorableName(ansi)) {
        now.m_Exact = name;
        now.m_Name = ansi;
        now.m_Month = date->m_Month;
        now.m_Day = date->m_Day;
        now.m_Year = date->m_Year;
    }
    *gender = fields.m_Gender.empty() ? book.m_Gender : fields.m_Gender;
    return now;
}

// A link that stands for someone no longer in the data file: removed, renamed or moved there.
struct tGone {
    const tBookLinks::tBook* m_Book;
    QString m_Href;
    const tContact* m_Contact;
    const tEntry* m_Now = nullptr; // who they became, when that can be told
};

// Pairs links that left the data file with people who came into it and stand for no card:
// the same day and picture (renamed), the same name (moved), or the only two of a day
// (renamed, with another picture).  A link removed with its birthday is no one's past.
void Pair(std::vector<tGone>& gone, std::vector<const tEntry*> arrived) {
    const auto open = [](const tGone& link) {
        return !link.m_Now && !link.m_Contact->m_DropBirthday;
    };
    const auto pass = [&](const auto& alike) {
        for (tGone& link : gone) {
            if (!open(link))
                continue;
            const auto person = std::find_if(arrived.begin(), arrived.end(),
                                             [&](const tEntry* p) { return alike(link, *p); });
            if (person != arrived.end()) {
                link.m_Now = *person;
                arrived.erase(person);
            }
        }
    };
    pass([](const tGone& link, const tEntry& p) {
        return p.m_Month == link.m_Contact->m_Month && p.m_Day == link.m_Contact->m_Day &&
               p.m_Picture == link.m_Contact->m_Picture;
    });
    pass([](const tGone& link, const tEntry& p) {
        return CodePage::EqualNoCase(p.m_Name, link.m_Contact->m_Name);
    });
    pass([&](const tGone& link, const tEntry& p) {
        const auto sameDay = [&](int month, int day) {
            return month == link.m_Contact->m_Month && day == link.m_Contact->m_Day;
        };
        return sameDay(p.m_Month, p.m_Day) &&
               std::count_if(gone.begin(), gone.end(),
                             [&](const tGone& other) {
                                 return open(other) &&
                                        sameDay(other.m_Contact->m_Month, other.m_Contact->m_Day);
                             }) == 1 &&
               std::count_if(arrived.begin(), arrived.end(), [&](const tEntry* other) {
                   return sameDay(other->m_Month, other->m_Day);
               }) == 1;
    });
}

} // namespace

tBookReconciler::tPlan tBookReconciler::Decide(
    tBookLinks::tBook& book, const std::vector<const tBookLinks::tBook*>& others,
    const std::vector<tCard>& changed, const std::vector<QString>& deleted,
    const std::vector<tEntry>& people, const std::optional<std::set<std::string>>& localOnly,
    int malePictures, int femalePictures) {
    tPlan plan;
    tPeople after(people);
    const auto remove = [&](const tContact& contact) {
        // A card waiting for a gender stands for nobody: a namesake typed by hand stays.
        if (contact.m_Name.empty() || contact.m_Hidden || contact.m_WaitsForGender)
            return;
        const tEntry* held = after.Holds(contact.m_Month, contact.m_Day, contact.m_Name);
        if (!held)
            return;
        // Another book may stand for the same person: it stays for that one.
        if (OtherBookHas(others, contact.m_Uid, contact.m_Month, contact.m_Day, contact.m_Name))
            return;
        plan.m_Removals.push_back(*held);
        plan.m_Changes.push_back(
            {held->ShownName(), held->m_Month, held->m_Day, tChange::kRemoved});
        after.Remove(*held);
    };

    const tFormats* formats = tFormats::Get();
    struct tRead {
        const tCard* m_Card;
        tContact m_Now;
        std::string m_Gender;
    };
    std::map<QString, tRead> reads;
    for (const tCard& card : changed) {
        tRead read{&card, {}, {}};
        read.m_Now = Read(card, book, formats, &read.m_Gender);
        reads.insert_or_assign(card.m_Href, std::move(read));
    }

    // What changed in the data file since the last sync: the people who stand for no card and
    // were not there then, and the links whose person is gone, in every book.
    std::set<std::string> linked = LinkedPeople(book, others);
    std::vector<const tEntry*> arrived;
    if (localOnly)
        for (const tEntry& person : people) {
            const std::string key =
                tBookLinks::LocalKey(person.m_Month, person.m_Day, person.m_Name);
            if (!linked.count(key) && !localOnly->count(key))
                arrived.push_back(&person);
        }
    const std::set<QString> deletedHere(deleted.begin(), deleted.end());
    std::vector<tGone> gone;
    const auto findGone = [&](const tBookLinks::tBook& from) {
        for (const auto& [href, contact] : from.m_Contacts)
            if (!contact.m_Name.empty() && !contact.m_Hidden && !contact.m_WaitsForGender &&
                !after.Holds(contact.m_Month, contact.m_Day, contact.m_Name) &&
                !(&from == &book && deletedHere.count(href)))
                gone.push_back({&from, href, &contact});
    };
    findGone(book);
    for (const tBookLinks::tBook* other : others)
        findGone(*other);
    Pair(gone, arrived);

    std::set<std::string> taken; // people a write of this sync will link to a card
    for (const tGone& link : gone) {
        if (link.m_Book != &book) {
            if (link.m_Now) // that book's sync writes it
                taken.insert(tBookLinks::LocalKey(link.m_Now->m_Month, link.m_Now->m_Day,
                                                  link.m_Now->m_Name));
            continue;
        }
        tContact& was = book.m_Contacts.at(link.m_Href);
        const tEntry* mine = link.m_Now;
        const auto read = reads.find(link.m_Href);
        const tContact* server = read == reads.end() ? nullptr : &read->second.m_Now;
        if (server && (server->m_Name != was.m_Name || server->m_Month != was.m_Month ||
                       server->m_Day != was.m_Day)) {
            // Changed on both sides: the book's version is kept and the card below brings it;
            // the change made here is told, so that it can be made again.
            const bool alike = mine && mine->m_Month == server->m_Month &&
                               mine->m_Day == server->m_Day &&
                               CodePage::EqualNoCase(mine->m_Name, server->m_Name);
            if (alike)
                continue;
            if (mine) {
                plan.m_Removals.push_back(*mine);
                after.Remove(*mine);
            }
            plan.m_Changes.push_back({mine ? mine->ShownName() : was.m_Exact,
                                      mine ? mine->m_Month : was.m_Month,
                                      mine ? mine->m_Day : was.m_Day, tChange::kConflict});
            continue;
        }
        tWrite write;
        write.m_Href = link.m_Href;
        write.m_ETag = server ? server->m_ETag : was.m_ETag;
        write.m_Card = server ? read->second.m_Card->m_Text : std::string();
        write.m_Was = was;
        write.m_Contact = was;
        write.m_Contact.m_DropBirthday = false;
        if (mine) {
            write.m_Kind = tWrite::kUpdate;
            tContact& now = write.m_Contact;
            now.m_Name = mine->m_Name;
            now.m_Exact = mine->ShownName();
            now.m_Month = mine->m_Month;
            now.m_Day = mine->m_Day;
            now.m_Picture = mine->m_Picture;
            if (now.m_Year && now.m_Month == 2 && now.m_Day == 29 &&
                !tBirthdayDate::IsLeapYear(*now.m_Year))
                now.m_Year.reset();
            taken.insert(tBookLinks::LocalKey(mine->m_Month, mine->m_Day, mine->m_Name));
            plan.m_Writes.push_back(std::move(write));
        } else if (was.m_DropBirthday) {
            write.m_Kind = tWrite::kDropBirthday;
            write.m_Contact.m_Name.clear();
            write.m_Contact.m_Exact.clear();
            write.m_Contact.m_Month = write.m_Contact.m_Day = 0;
            write.m_Contact.m_Year.reset();
            plan.m_Writes.push_back(std::move(write));
        } else {
            // Removed in Zembrola (the window, or by hand): hidden from now on.
            was.m_Hidden = true;
            plan.m_Changes.push_back({was.m_Exact, was.m_Month, was.m_Day, tChange::kKeptOut});
        }
    }

    for (const QString& href : deleted) {
        const auto found = book.m_Contacts.find(href);
        if (found == book.m_Contacts.end())
            continue;
        remove(found->second);
        book.m_Contacts.erase(found);
    }

    // A contact with a birthday, new or changed, placed on its day: waiting when no gender is
    // known for it, else joined with the same person already there, else added.
    const auto place = [&](tContact& now, const std::string& gender, bool wasLinked) {
        if (now.m_Name.empty())
            return;
        now.m_WaitsForGender = false;
        if (gender.empty() && now.m_Picture.empty()) {
            now.m_WaitsForGender = true;
        } else if (const tEntry* held = after.Holds(now.m_Month, now.m_Day, now.m_Name)) {
            now.m_Picture = held->m_Picture; // already there (typed by hand, another book)
            now.m_Exact = held->ShownName();
        } else {
            if (now.m_Picture.empty() || (!gender.empty() && now.m_Picture[0] != gender[0]))
                now.m_Picture = PictureFor(now.m_Name, gender, malePictures, femalePictures);
            const tEntry added{now.m_Month, now.m_Day, now.m_Name, now.m_Picture, now.m_Exact};
            plan.m_Additions.push_back(added);
            after.Add(added);
            plan.m_Changes.push_back({now.m_Exact, now.m_Month, now.m_Day,
                                      wasLinked ? tChange::kChanged : tChange::kAdded});
        }
    };
    for (const tCard& card : changed) {
        tRead& read = reads.at(card.m_Href);
        tContact now = read.m_Now;
        std::string gender = read.m_Gender;
        tContact* link = nullptr;
        if (auto found = book.m_Contacts.find(card.m_Href); found != book.m_Contacts.end())
            link = &found->second;
        if (link) {
            now.m_Hidden = link->m_Hidden;
            now.m_Picture = link->m_Picture;
            now.m_DropBirthday = link->m_DropBirthday;
            now.m_Gender = link->m_Gender;
            if (gender.empty())
                gender = link->m_Gender;
        }
        const bool same = link && link->m_Name == now.m_Name && link->m_Month == now.m_Month &&
                          link->m_Day == now.m_Day && !link->m_WaitsForGender;
        if (same || now.m_Hidden) {
            book.m_Contacts[card.m_Href] = now;
            continue;
        }
        const size_t told = plan.m_Changes.size();
        if (link)
            remove(*link); // renamed, moved, or its birthday gone
        place(now, gender, link && !link->m_WaitsForGender);
        // A rename or a moved day is one change, told under the new name and day.
        if (plan.m_Changes.size() == told + 2 && plan.m_Changes.back().m_Kind == tChange::kChanged)
            plan.m_Changes.erase(plan.m_Changes.begin() + static_cast<std::ptrdiff_t>(told));
        book.m_Contacts[card.m_Href] = now;
    }
    // Cards that waited, given a gender in the window since: they come now, unchanged.
    for (auto& [href, contact] : book.m_Contacts)
        if (contact.m_WaitsForGender && !contact.m_Gender.empty() && !contact.m_Hidden &&
            !reads.count(href))
            place(contact, contact.m_Gender, false);

    // Added in Zembrola since the last sync: a new card in the book for new people.
    linked = LinkedPeople(book, others);
    bool someBookTakesThem = book.m_NewPeopleGoHere;
    for (const tBookLinks::tBook* other : others)
        someBookTakesThem = someBookTakesThem || other->m_NewPeopleGoHere;
    if (book.m_NewPeopleGoHere) {
        QString folder = QUrl(book.m_Url).path();
        if (!folder.endsWith('/'))
            folder += '/';
        for (const tEntry* person : arrived) {
            const std::string key =
                tBookLinks::LocalKey(person->m_Month, person->m_Day, person->m_Name);
            if (linked.count(key) || taken.count(key) ||
                !after.Holds(person->m_Month, person->m_Day, person->m_Name))
                continue;
            tWrite write;
            write.m_Kind = tWrite::kCreate;
            tContact& now = write.m_Contact;
            now.m_Uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            now.m_Name = person->m_Name;
            now.m_Exact = person->ShownName();
            now.m_Month = person->m_Month;
            now.m_Day = person->m_Day;
            now.m_Picture = person->m_Picture;
            write.m_Href = folder + now.m_Uid + ".vcf";
            taken.insert(key);
            plan.m_Writes.push_back(std::move(write));
        }
    }
    after.ForEach([&](const tEntry& person) {
        const std::string key = tBookLinks::LocalKey(person.m_Month, person.m_Day, person.m_Name);
        const bool known = !localOnly || localOnly->count(key);
        if (!linked.count(key) && !taken.count(key) && (known || !someBookTakesThem))
            plan.m_LocalOnly.insert(key);
    });
    for (const auto& [href, contact] : book.m_Contacts)
        plan.m_Waiting += contact.m_WaitsForGender && !contact.m_Hidden;
    return plan;
}
