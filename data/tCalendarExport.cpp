#include "data/tCalendarExport.h"

#include "platform/AtomicFile.h"

#include <climits>
#include <cstdlib>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/tFormats.h"
#include "platform/CodePage.h"

#include <QCryptographicHash>
#include <cstdio>

namespace {

std::string ReplaceSlot(const std::string& format, const std::string& value) {
    std::string text = format;
    if (const size_t slot = text.find("%s"); slot != std::string::npos)
        text.replace(slot, 2, value);
    else
        text.append(" ").append(value);
    return text;
}

} // namespace

std::string tCalendarExport::Uid(const tDataFile::tEntry& person) {
    char day[8];
    std::snprintf(day, sizeof day, "%02d%02d-", person.m_Month, person.m_Day);
    const std::string key = day + CodePage::Utf8FromAnsi(CodePage::Folded(person.m_Name));
    const QByteArray sum =
        QCryptographicHash::hash(QByteArrayView(key.data(), static_cast<qsizetype>(key.size())),
                                 QCryptographicHash::Sha1)
            .toHex();
    return std::string(day) + sum.toStdString() + "@zembrola";
}

std::optional<std::string> tCalendarExport::Make(const std::vector<tDataFile::tEntry>& people,
                                                 const std::string& summary, std::time_t stamp,
                                                 const tBirthYear& year,
                                                 const std::string& bornIn) {
    const tFormats* formats = tFormats::Get();
    if (!formats)
        return std::nullopt;
    std::vector<tFormats::tEvent> events;
    events.reserve(people.size());
    for (const tDataFile::tEntry& person : people) {
        std::string description;
        std::tm utc{};
        // A year still to come was typed wrong: no description rather than a wrong one.
        if (const std::optional<int> born = year ? year(person) : std::nullopt;
            born.has_value() && gmtime_r(&stamp, &utc) && born.value() <= utc.tm_year + 1900)
            description = ReplaceSlot(bornIn, std::to_string(born.value()));
        events.push_back({Uid(person), person.m_Month, person.m_Day,
                          ReplaceSlot(summary, person.ShownName()), description});
    }
    return formats->WriteCalendar(events, stamp);
}

namespace {

// The real path of the folder that holds path (links followed), or "" when there is none.
std::string RealFolder(const std::string& path) {
    std::string copy = path;
    char resolved[PATH_MAX];
    return realpath(dirname(copy.data()), resolved) ? std::string(resolved) : std::string();
}

} // namespace

std::optional<tMessage> tCalendarExport::RefuseTarget(const std::string& target,
                                                      const std::string& dataFile) {
    struct stat link {};
    if (lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        struct stat folder {};
        std::string copy = target;
        const bool shared =
            stat(dirname(copy.data()), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (link.st_uid != geteuid() || shared)
            return tMessage::ExportThroughLink;
    }
    const std::string resolved = AtomicFile::ResolveTarget(target);
    struct stat file {};
    if (stat(resolved.c_str(), &file) == 0 && file.st_uid != geteuid())
        return tMessage::ExportOtherOwner;
    const std::string data = RealFolder(dataFile), into = RealFolder(resolved);
    if (!data.empty() && (into == data || into.rfind(data + "/", 0) == 0))
        return tMessage::ExportIntoDataFolder;
    return std::nullopt;
}

tCalendarExport::tWritten tCalendarExport::WriteFile(const tDataFile& file,
                                                     const std::string& target, std::time_t stamp,
                                                     const tBirthYear& year) {
    const auto failed = [](const std::string& why) {
        return tWritten{false, MessageText(tMessage::ExportFailed) + "\n" + why};
    };
    if (const tFileFault fault = file.ReadFault(); fault != tFileFault::None)
        return failed(MessageText(MessageForFault(fault), {file.GetFileName()}));
    if (const std::optional<tMessage> refused = RefuseTarget(target, file.GetFileName()))
        return failed(MessageText(*refused, {target}));
    const std::vector<tDataFile::tEntry> people = file.ReadAllEntries();
    const std::optional<std::string> calendar =
        Make(people, CodePage::Utf8FromAnsi(MessageText(tMessage::BirthdaySummary)), stamp, year,
             CodePage::Utf8FromAnsi(MessageText(tMessage::BornIn)));
    if (!calendar)
        return failed(tFormats::LoadError());
    if (const tFileFault fault = AtomicFile::Replace(target, *calendar); fault != tFileFault::None)
        return failed(MessageText(MessageForFault(fault), {target}));
    return {true, MessageText(tMessage::ExportDone, {std::to_string(people.size()), target})};
}
