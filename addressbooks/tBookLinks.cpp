#include "addressbooks/tBookLinks.h"

#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/FolderLock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <filesystem>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Bytes(const QJsonValue& value) {
    return value.toString().toStdString();
}

} // namespace

std::string tBookLinks::LocalKey(int month, int day, const std::string& name) {
    return std::to_string(month * 100 + day) + "|" + CodePage::Utf8FromAnsi(CodePage::Folded(name));
}

tBookLinks::tBirthYears tBookLinks::BirthYears() const {
    tBirthYears years;
    for (const tBook& book : m_Books)
        for (const auto& [href, contact] : book.m_Contacts)
            if (contact.m_Year && !contact.m_Name.empty() && !contact.m_Hidden)
                years.emplace(LocalKey(contact.m_Month, contact.m_Day, contact.m_Name),
                              *contact.m_Year);
    for (const auto& [key, year] : m_ImportedYears)
        years.emplace(key, year);
    return years;
}

tFileFault tBookLinks::KeepImportedYears(const std::string& path,
                                         const std::vector<tContactImport::tContact>& contacts) {
    tBirthYears years;
    for (const tContactImport::tContact& contact : contacts)
        if (contact.m_Skip == tContactImport::tSkip::None && contact.m_Year)
            years[LocalKey(contact.m_Month, contact.m_Day, contact.m_Name)] = *contact.m_Year;
    if (years.empty())
        return tFileFault::None;
    return Change(path, [&](tBookLinks& links) {
        for (const auto& [key, year] : years)
            links.m_ImportedYears[key] = year;
        return true;
    });
}

std::optional<int> tBookLinks::YearOf(const tBirthYears& years, int month, int day,
                                      const std::string& name) {
    const auto found = years.find(LocalKey(month, day, name));
    return found == years.end() ? std::nullopt : std::optional<int>(found->second);
}

std::function<std::optional<int>(const tDataFile::tEntry&)>
tBookLinks::YearLookup(tBirthYears years) {
    return [years = std::move(years)](const tDataFile::tEntry& person) {
        return YearOf(years, person.m_Month, person.m_Day, person.m_Name);
    };
}

std::optional<int> tBookLinks::Age(const tBirthYears& years, int year, int month, int day,
                                   const std::string& name) {
    const std::optional<int> born = YearOf(years, month, day, name);
    if (!born || year - *born < 1)
        return std::nullopt;
    return year - *born;
}

QString tBookLinks::tBook::Shown() const {
    const QUrl url(m_Url);
    QString name = m_Name;
    if (name.isEmpty()) {
        QString path = url.path();
        while (path.endsWith('/'))
            path.chop(1);
        name = path.mid(path.lastIndexOf('/') + 1);
    }
    return url.host().isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, url.host());
}

tBookLinks::tBook* tBookLinks::Find(const QString& url) {
    for (tBook& book : m_Books)
        if (book.m_Url == url)
            return &book;
    return nullptr;
}

bool tBookLinks::Load(const std::string& path, tFileFault* fault) {
    m_Books.clear();
    std::error_code missing;
    if (!std::filesystem::exists(path, missing))
        return true;
    tFileFault why = tFileFault::None;
    const std::optional<std::string> bytes = AtomicFile::Read(path, &why);
    if (!bytes || !LoadText(*bytes)) {
        if (fault)
            *fault = bytes ? tFileFault::Unreadable : why;
        return false;
    }
    return true;
}

bool tBookLinks::LoadText(const std::string& text) {
    m_Books.clear();
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text));
    if (!document.isObject())
        return false;
    for (const QJsonValue& value : document.object().value("books").toArray()) {
        const QJsonObject object = value.toObject();
        tBook book;
        book.m_Url = object.value("url").toString();
        book.m_Name = object.value("name").toString();
        book.m_User = object.value("user").toString();
        book.m_Fingerprint = object.value("fingerprint").toString();
        book.m_PasswordFile = object.value("passwordFile").toString();
        book.m_Gender = Bytes(object.value("gender"));
        book.m_NewPeopleGoHere = object.value("newPeopleGoHere").toBool();
        book.m_SyncToken = object.value("syncToken").toString();
        book.m_LastSync = object.value("lastSync").toString();
        book.m_Problem = object.value("problem").toString();
        const QJsonObject contacts = object.value("contacts").toObject();
        for (auto it = contacts.begin(); it != contacts.end(); ++it) {
            const QJsonObject item = it.value().toObject();
            tContact contact;
            contact.m_Uid = item.value("uid").toString();
            contact.m_ETag = item.value("etag").toString();
            contact.m_Exact = Bytes(item.value("name"));
            contact.m_Name = CodePage::AnsiFromUtf8(contact.m_Exact);
            contact.m_Month = item.value("month").toInt();
            contact.m_Day = item.value("day").toInt();
            if (item.contains("year"))
                contact.m_Year = item.value("year").toInt();
            contact.m_Picture = Bytes(item.value("picture"));
            contact.m_Hidden = item.value("hidden").toBool();
            contact.m_WaitsForGender = item.value("waitsForGender").toBool();
            contact.m_Gender = Bytes(item.value("gender"));
            contact.m_DropBirthday = item.value("dropBirthday").toBool();
            book.m_Contacts.emplace(it.key(), std::move(contact));
        }
        if (!book.m_Url.isEmpty())
            m_Books.push_back(std::move(book));
    }
    m_LocalOnly.reset();
    if (const QJsonValue local = document.object().value("localOnly"); local.isArray()) {
        m_LocalOnly.emplace();
        for (const QJsonValue& key : local.toArray())
            m_LocalOnly->insert(Bytes(key));
    }
    m_ImportedYears.clear();
    const QJsonObject imported = document.object().value("importedYears").toObject();
    for (auto it = imported.begin(); it != imported.end(); ++it)
        if (it.value().isDouble())
            m_ImportedYears[it.key().toStdString()] = it.value().toInt();
    return true;
}

tFileFault tBookLinks::Save(const std::string& path) const {
    return SaveText(path, Serialized());
}

tFileFault tBookLinks::SaveText(const std::string& path, const QByteArray& text) {
    return AtomicFile::Replace(path, std::string_view(text.constData(), text.size()));
}

QByteArray tBookLinks::Serialized() const {
    QJsonArray books;
    for (const tBook& book : m_Books) {
        QJsonObject contacts;
        for (const auto& [href, contact] : book.m_Contacts) {
            QJsonObject item{{"uid", contact.m_Uid},          {"etag", contact.m_ETag},
                             {"name", Text(contact.m_Exact)}, {"month", contact.m_Month},
                             {"day", contact.m_Day},          {"picture", Text(contact.m_Picture)}};
            if (contact.m_Year)
                item.insert("year", *contact.m_Year);
            if (contact.m_Hidden)
                item.insert("hidden", true);
            if (contact.m_WaitsForGender)
                item.insert("waitsForGender", true);
            if (!contact.m_Gender.empty())
                item.insert("gender", Text(contact.m_Gender));
            if (contact.m_DropBirthday)
                item.insert("dropBirthday", true);
            contacts.insert(href, item);
        }
        QJsonObject object{{"url", book.m_Url},
                           {"user", book.m_User},
                           {"passwordFile", book.m_PasswordFile},
                           {"gender", Text(book.m_Gender)},
                           {"newPeopleGoHere", book.m_NewPeopleGoHere},
                           {"syncToken", book.m_SyncToken},
                           {"lastSync", book.m_LastSync},
                           {"problem", book.m_Problem},
                           {"contacts", contacts}};
        // Written only when there is one: the files of before stay as they were.
        if (!book.m_Name.isEmpty())
            object.insert("name", book.m_Name);
        if (!book.m_Fingerprint.isEmpty())
            object.insert("fingerprint", book.m_Fingerprint);
        books.append(object);
    }
    QJsonObject whole{{"books", books}};
    if (m_LocalOnly) {
        QJsonArray local;
        for (const std::string& key : *m_LocalOnly)
            local.append(Text(key));
        whole.insert("localOnly", local);
    }
    if (!m_ImportedYears.empty()) {
        QJsonObject imported;
        for (const auto& [key, year] : m_ImportedYears)
            imported.insert(Text(key), year);
        whole.insert("importedYears", imported);
    }
    return QJsonDocument(whole).toJson();
}

tFileFault tBookLinks::Change(const std::string& path,
                              const std::function<bool(tBookLinks&)>& edit) {
    FolderLock lock(path);
    if (lock.Fault() != tFileFault::None)
        return lock.Fault();
    tBookLinks links;
    tFileFault fault = tFileFault::None;
    if (!links.Load(path, &fault))
        return fault == tFileFault::None ? tFileFault::Unreadable : fault;
    return edit(links) ? links.Save(path) : tFileFault::None;
}
