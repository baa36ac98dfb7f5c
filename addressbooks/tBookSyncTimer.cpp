#include "addressbooks/tBookSyncTimer.h"

#include "platform/CodePage.h"

#include <filesystem>

tBookSyncTimer::tBookSyncTimer(tDataFile& data, std::string linksPath,
                               std::function<std::pair<int, int>()> pictures, QObject* parent)
    : QObject(parent), m_Data(data), m_LinksPath(std::move(linksPath)),
      m_Pictures(std::move(pictures)) {
    connect(&m_Timer, &QTimer::timeout, this, [this] {
        m_Timer.setInterval(kEveryMs);
        SyncNow();
    });
}

void tBookSyncTimer::Start(int firstMs) {
    m_Timer.start(firstMs);
}

bool tBookSyncTimer::SyncNow() {
    if (m_Sync) {
        m_Again = true;
        return false;
    }
    m_Again = false;
    // No books, no work: not even the formats are loaded.
    std::error_code none;
    if (!std::filesystem::exists(m_LinksPath, none))
        return true;
    const auto [male, female] = m_Pictures();
    if (!m_Client)
        m_Client = std::make_unique<tDavClient>();
    m_Sync = std::make_unique<tBookSync>(*m_Client, m_Data, m_LinksPath, male, female);
    Q_EMIT Started();
    m_Sync->Run([this](const tBookSync::tResult& result) {
        // The sync object ends after its last callback has returned.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_Sync.reset();
                if (m_Again)
                    SyncNow();
            },
            Qt::QueuedConnection);
        QStringList conflicts;
        for (const tBookReconciler::tChange& change : result.m_Changes)
            if (change.m_Kind == tBookReconciler::tChange::kConflict)
                conflicts.append(QString::fromStdString(change.m_Name));
        Q_EMIT Synced(!result.m_Changes.empty(), result.m_Failed, result.m_Waiting);
        if (!conflicts.isEmpty())
            Q_EMIT Conflicts(conflicts);
    });
    return true;
}

tBookLinks::tBirthYears tBookSyncTimer::BirthYears() const {
    tBookLinks links;
    return links.Load(m_LinksPath) ? links.BirthYears() : tBookLinks::tBirthYears{};
}

bool tBookSyncTimer::HasBooks() const {
    tBookLinks links;
    return links.Load(m_LinksPath) && !links.m_Books.empty();
}

std::optional<QString> tBookSyncTimer::BookOf(const std::string& name) const {
    tBookLinks links;
    if (!links.Load(m_LinksPath))
        return std::nullopt;
    for (const tBookLinks::tBook& book : links.m_Books)
        for (const auto& [href, contact] : book.m_Contacts)
            if (!contact.m_Name.empty() && !contact.m_Hidden &&
                CodePage::EqualNoCase(contact.m_Name, name))
                return book.Shown();
    return std::nullopt;
}

void tBookSyncTimer::KeepImportedYears(const std::vector<tContactImport::tContact>& contacts) {
    tBookLinks::KeepImportedYears(m_LinksPath, contacts);
}

tBookLinks tBookSyncTimer::Links() const {
    tBookLinks links;
    if (!links.Load(m_LinksPath))
        return {};
    return links;
}

void tBookSyncTimer::Subscribe(const tBookSubscription::tRequest& request,
                               tBookSubscription::tDone done) {
    if (!m_Finder)
        m_Finder = std::make_unique<tDavClient>();
    tBookSubscription::Subscribe(*m_Finder, m_LinksPath, request,
                                 [this, done](const tBookSubscription::tResult& result) {
                                     if (!result.m_Books.empty()) {
                                         Q_EMIT BooksChanged();
                                         SyncNow();
                                     }
                                     done(result);
                                 });
}

bool tBookSyncTimer::Changed(tFileFault fault) {
    if (fault != tFileFault::None)
        return false;
    Q_EMIT BooksChanged();
    return true;
}

bool tBookSyncTimer::Unsubscribe(const QString& url) {
    QString why;
    if (!tBookSubscription::Unsubscribe(m_LinksPath, url, &why))
        return false;
    Q_EMIT BooksChanged();
    return true;
}

bool tBookSyncTimer::ChooseGender(const QString& url, const QString& href,
                                  const std::string& gender) {
    const bool changed = Changed(tBookLinks::Change(m_LinksPath, [&](tBookLinks& links) {
        tBookLinks::tBook* book = links.Find(url);
        if (!book || !book->m_Contacts.count(href))
            return false;
        book->m_Contacts[href].m_Gender = gender;
        return true;
    }));
    if (changed)
        SyncNow();
    return changed;
}

bool tBookSyncTimer::SetNewPeopleBook(const QString& url) {
    return Changed(tBookLinks::Change(m_LinksPath, [&](tBookLinks& links) {
        for (tBookLinks::tBook& book : links.m_Books)
            book.m_NewPeopleGoHere = book.m_Url == url;
        return true;
    }));
}

bool tBookSyncTimer::DropBirthday(const std::string& name) {
    const tFileFault fault = tBookLinks::Change(m_LinksPath, [&](tBookLinks& links) {
        bool found = false;
        for (tBookLinks::tBook& book : links.m_Books)
            for (auto& [href, contact] : book.m_Contacts)
                if (!contact.m_Name.empty() && !contact.m_Hidden &&
                    CodePage::EqualNoCase(contact.m_Name, name))
                    found = contact.m_DropBirthday = true;
        return found;
    });
    if (fault != tFileFault::None)
        return false;
    SyncNow(); // or right after the one that runs
    return true;
}
