#include "data/tContactImport.h"

#include "data/tBirthdayDate.h"
#include "formats/tFormats.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/OrEmpty.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// The cards of a file, each from its BEGIN:VCARD line to its END:VCARD line (cards nested in
// a 2.1 AGENT property stay inside theirs).
std::vector<std::string> SplitCards(std::string_view text) {
    std::vector<std::string> cards;
    int depth = 0;
    size_t begin = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trimmed(text.substr(at, end - at));
        if (StartsWithNoCase(line, "BEGIN:VCARD") && depth++ == 0)
            begin = at;
        else if (StartsWithNoCase(line, "END:VCARD") && depth > 0 && --depth == 0)
            cards.emplace_back(text.substr(begin, end - begin));
        at = end + 1;
    }
    return cards;
}

// Old phones break quoted-printable lines with a trailing "=" anywhere, also before an
// escaped byte ("M=" then "=FCller"), which the parser reads as two lines: they are joined
// before it sees them.
std::string JoinSoftBreaks(const std::string& card) {
    std::string joined;
    bool quoted = false;
    for (size_t at = 0; at < card.size();) {
        size_t end = card.find('\n', at);
        end = end == std::string::npos ? card.size() : end + 1;
        std::string_view line(card.data() + at, end - at);
        if (!quoted) {
            const std::string_view head = line.substr(0, line.find(':'));
            quoted = head.size() < line.size() &&
                     std::search(head.begin(), head.end(), std::begin("QUOTED-PRINTABLE"),
                                 std::end("QUOTED-PRINTABLE") - 1, [](char a, char b) {
                                     return std::toupper(static_cast<unsigned char>(a)) == b;
                                 }) != head.end();
        }
        std::string_view content = line;
        while (!content.empty() && (content.back() == '\n' || content.back() == '\r'))
            content.remove_suffix(1);
        if (quoted && !content.empty() && content.back() == '=') {
            joined.append(content.substr(0, content.size() - 1)); // the next line goes on
        } else {
            joined.append(line);
            quoted = false;
        }
        at = end;
    }
    return joined;
}

// Every character has a Windows-1252 form.
bool HasAnsiForm(std::string_view utf8) {
    for (size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> point = CodePage::DecodeUtf8(utf8, &at);
        if (!point || CodePage::FromUnicode(*point) < 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<tMessage> tContactImport::ReadFile(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxFileSize)
        return tMessage::ContactFileTooBig;
    const std::optional<std::string> bytes = AtomicFile::Read(path);
    // Without the formats' plugin no card can be read: the installation lacks a part.
    if (!bytes || !tFormats::Get())
        return tMessage::ContactFileUnreadable;
    if (!Read(*bytes))
        return tMessage::NoCards;
    return std::nullopt;
}

bool tContactImport::Read(std::string_view bytes) {
    const tFormats* formats = tFormats::Get();
    if (!formats)
        return false;
    const size_t before = m_Contacts.size();
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    // A file that is not UTF-8 comes from an old program writing the Windows code page.
    const bool utf8 = CodePage::LooksLikeUtf8(bytes) ||
                      std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; });
    std::string text = utf8 ? std::string(bytes) : CodePage::Utf8FromAnsi(bytes);
    // No card holds a NUL byte; the vCard parser reads past a block when one follows a
    // quoted-printable soft break.
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    for (const std::string& source : SplitCards(text)) {
        const tFormats::tCard card = formats->ReadCard(JoinSoftBreaks(source));
        tContact contact;
        tSkip skip = tSkip::None;
        contact.m_ShownName = card.m_FullName;
        if (contact.m_ShownName.empty())
            contact.m_ShownName = card.m_Given.empty() || card.m_Family.empty()
                                      ? card.m_Given + card.m_Family
                                      : card.m_Given + " " + card.m_Family;
        contact.m_Gender = card.m_Gender;
        if (!card.m_HasBirthday)
            skip = tSkip::NoBirthday;
        else if (const std::optional<tBirthdayDate> date = tBirthdayDate::Parse(
                     card.m_Birthday, card.m_BirthdayIsText, card.m_OmittedYear)) {
            contact.m_Month = date->m_Month;
            contact.m_Day = date->m_Day;
            contact.m_Year = date->m_Year;
        } else {
            skip = tSkip::BirthdayText;
        }
        if (skip == tSkip::None && contact.m_ShownName.empty())
            skip = tSkip::NoName;
        if (skip == tSkip::None && !HasAnsiForm(contact.m_ShownName))
            skip = tSkip::NoAnsiForm;
        contact.m_Name = CodePage::AnsiFromUtf8(contact.m_ShownName);
        if (skip == tSkip::None && !tDataFile::IsStorableName(contact.m_Name))
            skip = tSkip::NotStorable;
        contact.m_Skip = skip;
        m_Contacts.push_back(std::move(contact));
        m_CardSkips.push_back(skip);
    }
    return m_Contacts.size() > before;
}

void tContactImport::Plan(const tDataFile& file, const std::string& chosenGender, int malePictures,
                          int femalePictures) {
    // Each day touched: its names (folded) and the bytes they take, the file's first.
    struct tDay {
        std::set<std::string> m_Names;
        size_t m_Used = 0;
        std::map<std::string, std::set<int>> m_Pictures; // gender -> numbers in use
    };
    std::map<int, tDay> days;
    auto dayOf = [&](int month, int day) -> tDay& {
        const auto [found, added] = days.try_emplace(month * 100 + day);
        if (added) {
            for (const tDataFile::tEntry& entry : file.ReadEntries(month, day)) {
                found->second.m_Names.insert(CodePage::Folded(entry.m_Name));
                found->second.m_Used += entry.m_Name.size() + 1;
                if (entry.m_Picture.size() == 4)
                    found->second.m_Pictures[entry.m_Picture.substr(0, 1)].insert(
                        std::atoi(entry.m_Picture.c_str() + 1));
            }
        }
        return found->second;
    };
    for (size_t i = 0; i < m_Contacts.size(); ++i) {
        tContact& contact = m_Contacts[i];
        contact.m_Skip = m_CardSkips[i];
        if (contact.m_Skip != tSkip::None)
            continue;
        const std::string gender = contact.m_Gender.empty() ? chosenGender : contact.m_Gender;
        tDay& day = dayOf(contact.m_Month, contact.m_Day);
        if (day.m_Names.count(CodePage::Folded(contact.m_Name)) != 0)
            contact.m_Skip = tSkip::AlreadyThere;
        else if (!tDataFile::NameFits(day.m_Used, contact.m_Name.size()))
            contact.m_Skip = tSkip::DayFull;
        else if (gender != "m" && gender != "f")
            contact.m_Skip = tSkip::NoGender;
        if (contact.m_Skip != tSkip::None)
            continue;
        day.m_Names.insert(CodePage::Folded(contact.m_Name));
        day.m_Used += contact.m_Name.size() + 1;
        // The first picture the day's people of that gender do not show yet, starting at a
        // place of the name's own so that days differ too.
        const int count = std::max(gender == "m" ? malePictures : femalePictures, 1);
        std::set<int>& used = day.m_Pictures[gender];
        const int start =
            static_cast<int>(std::hash<std::string>{}(contact.m_Name) % static_cast<size_t>(count));
        int picture = start;
        for (int step = 0; step < count; ++step)
            if (used.count((start + step) % count) == 0) {
                picture = (start + step) % count;
                break;
            }
        used.insert(picture);
        contact.m_Picture = picture;
        contact.m_Gender = gender;
    }
}

bool tContactImport::Apply(tDataFile& file) {
    std::vector<tDataFile::tEntry> entries;
    std::vector<size_t> owners;
    for (size_t i = 0; i < m_Contacts.size(); ++i) {
        const tContact& contact = m_Contacts[i];
        if (contact.m_Skip != tSkip::None)
            continue;
        char picture[16];
        std::snprintf(picture, sizeof picture, "%s%03d", contact.m_Gender.c_str(),
                      contact.m_Picture);
        entries.push_back({contact.m_Month, contact.m_Day, contact.m_Name, picture, {}});
        owners.push_back(i);
    }
    if (entries.empty())
        return true;
    std::vector<tDataFile::tAdded> results;
    const bool written = file.AddEntries(entries, results);
    for (size_t i = 0; i < owners.size(); ++i) {
        static constexpr tSkip kFates[] = {tSkip::None, tSkip::AlreadyThere, tSkip::DayFull,
                                           tSkip::NotStorable, tSkip::NotWritten};
        m_Contacts[owners[i]].m_Skip = kFates[static_cast<int>(results[i])];
    }
    return written;
}

int tContactImport::Count(tSkip skip) const {
    return static_cast<int>(std::count_if(m_Contacts.begin(), m_Contacts.end(),
                                          [skip](const tContact& c) { return c.m_Skip == skip; }));
}

tMessage tContactImport::SkipMessage(tSkip skip) {
    // In the order of tSkip.
    static constexpr tMessage kMessages[] = {tMessage::Added,
                                             tMessage::SkipNoBirthday,
                                             tMessage::SkipBirthdayText,
                                             tMessage::SkipNoName,
                                             tMessage::SkipNoAnsiForm,
                                             tMessage::SkipNotStorable,
                                             tMessage::SkipAlreadyThere,
                                             tMessage::SkipDayFull,
                                             tMessage::SkipNoGender,
                                             tMessage::SkipNotWritten};
    return kMessages[static_cast<int>(skip)];
}

std::string tContactImport::Summary() const {
    const int added = Count(tSkip::None);
    return MessageText(
        tMessage::ImportSummary,
        {std::to_string(added), std::to_string(static_cast<int>(m_Contacts.size()) - added)});
}
