#include "addressbooks/tBookReconciler.h"

#include "data/tBirthdayDate.h"
#include "formats/tFormats.h"
#include "platform/CodePage.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstdio>
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

} // namespace

tBookReconciler::tPlan tBookReconciler::Decide(tBookLinks::tBook& book,
                                               const std::vector<const tBookLinks::tBook*>& others,
                                               const std::vector<tCard>& changed,
                                               const std::vector<QString>& deleted,
                                               const std::vector<tEntry>& people, int malePictures,
                                               int femalePictures) {
    tPlan plan;
    tPeople after(people);
    const auto remove = [&](const tContact& contact) {
        if (contact.m_Name.empty() || contact.m_Hidden)
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

    // Removed in Zembrola since the last sync (the window, or by hand): hidden from now on.
    for (auto& [href, contact] : book.m_Contacts)
        if (!contact.m_Name.empty() && !contact.m_Hidden && !contact.m_WaitsForGender &&
            !after.Holds(contact.m_Month, contact.m_Day, contact.m_Name)) {
            contact.m_Hidden = true;
            plan.m_Changes.push_back(
                {contact.m_Exact, contact.m_Month, contact.m_Day, tChange::kKeptOut});
        }

    for (const QString& href : deleted) {
        const auto found = book.m_Contacts.find(href);
        if (found == book.m_Contacts.end())
            continue;
        remove(found->second);
        book.m_Contacts.erase(found);
    }

    const tFormats* formats = tFormats::Get();
    for (const tCard& card : changed) {
        tContact now;
        now.m_ETag = card.m_ETag;
        tContact* link = nullptr;
        if (auto found = book.m_Contacts.find(card.m_Href); found != book.m_Contacts.end())
            link = &found->second;
        std::string gender;
        if (formats) {
            const tFormats::tCard fields = formats->ReadCard(card.m_Text);
            now.m_Uid = QString::fromStdString(fields.m_Uid);
            std::string name = fields.m_FullName;
            if (name.empty())
                name = fields.m_Given.empty() || fields.m_Family.empty()
                           ? fields.m_Given + fields.m_Family
                           : fields.m_Given + " " + fields.m_Family;
            const std::optional<tBirthdayDate> date =
                fields.m_HasBirthday
                    ? tBirthdayDate::Parse(fields.m_Birthday, fields.m_BirthdayIsText,
                                           fields.m_OmittedYear)
                    : std::nullopt;
            const std::string ansi = CodePage::AnsiFromUtf8(name);
            if (date && !name.empty() && tDataFile::IsStorableName(ansi)) {
                now.m_Exact = name;
                now.m_Name = ansi;
                now.m_Month = date->m_Month;
                now.m_Day = date->m_Day;
                now.m_Year = date->m_Year;
            }
            gender = fields.m_Gender.empty() ? book.m_Gender : fields.m_Gender;
        }
        if (link) {
            now.m_Hidden = link->m_Hidden;
            now.m_Picture = link->m_Picture;
        }
        const bool same = link && link->m_Name == now.m_Name && link->m_Month == now.m_Month &&
                          link->m_Day == now.m_Day && !link->m_WaitsForGender;
        if (same || now.m_Hidden) {
            if (link)
                now.m_Picture = link->m_Picture;
            book.m_Contacts[card.m_Href] = now;
            continue;
        }
        if (link)
            remove(*link); // renamed, moved, or its birthday gone
        if (!now.m_Name.empty()) {
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
                                          link ? tChange::kChanged : tChange::kAdded});
            }
        }
        book.m_Contacts[card.m_Href] = now;
    }
    for (const auto& [href, contact] : book.m_Contacts)
        plan.m_Waiting += contact.m_WaitsForGender && !contact.m_Hidden;
    return plan;
}
