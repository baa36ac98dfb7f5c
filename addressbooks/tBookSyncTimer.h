// The address books synced while the program runs: shortly after the start and every 15
// minutes, when books are subscribed.  The window hears of the result through a signal.
#pragma once

#include "addressbooks/tBookSubscription.h"
#include "addressbooks/tBookSync.h"
#include "addressbooks/tDavClient.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class tDataFile;

class tBookSyncTimer : public QObject {
    Q_OBJECT

public:
    // pictures: how many male and female pictures there are, asked when a sync needs them.
    tBookSyncTimer(tDataFile& data, std::string linksPath,
                   std::function<std::pair<int, int>()> pictures, QObject* parent = nullptr);

    // Starts the timers; the first sync comes after firstMs.
    void Start(int firstMs = kFirstMs);
    // A sync now; when one runs, another right after it.  False when one runs already.
    bool SyncNow();
    bool Running() const { return m_Sync != nullptr; }
    // Whether any book is subscribed.
    bool HasBooks() const;
    // The birth years the cards give, as the links file holds them.
    tBookLinks::tBirthYears BirthYears() const;

    // Keeps the years of birth imported cards give (see tBookLinks::KeepImportedYears).
    void KeepImportedYears(const std::vector<tContactImport::tContact>& contacts);
    // The books as the links file holds them, for a display; none when it cannot be read.
    tBookLinks Links() const;
    // Subscribes (see tBookSubscription) and syncs the new books at once.
    void Subscribe(const tBookSubscription::tRequest& request, tBookSubscription::tDone done);
    // Ends a subscription; its people stay.  False when the links file could not be saved.
    bool Unsubscribe(const QString& url);
    // The gender for a card of the book that states none; the sync that follows places it.
    bool ChooseGender(const QString& url, const QString& href, const std::string& gender);
    // The book that takes the people added here; empty: none does.
    bool SetNewPeopleBook(const QString& url);

    // The book whose card stands for this person (name in the data file's code page, on any
    // day: it may have been moved here since the last sync), as a user knows it: its name and
    // server; none when no card does.
    std::optional<QString> BookOf(const std::string& name) const;
    // The person was removed here, and their birthday is to go from their card too: the next
    // sync, which comes at once, takes it away.
    bool DropBirthday(const std::string& name);

    static constexpr int kFirstMs = 5000;
    static constexpr int kEveryMs = 15 * 60 * 1000;

Q_SIGNALS:
    // A sync began.
    void Started();
    // The books or their settings changed (not their people): a display shows them anew.
    void BooksChanged();
    // A sync ended; changed: the data file holds other people now.
    void Synced(bool changed, int failedBooks, int waiting);
    // Changed here and in a book since the last sync: the book's version was kept; each line
    // names a person as they were here.
    void Conflicts(const QStringList& people);

private:
    tDataFile& m_Data;
    std::string m_LinksPath;
    std::function<std::pair<int, int>()> m_Pictures;
    QTimer m_Timer;
    std::unique_ptr<tDavClient> m_Client; // made at the first sync: none while no book is kept
    std::unique_ptr<tBookSync> m_Sync;
    bool m_Again = false;                 // asked for while one ran
    std::unique_ptr<tDavClient> m_Finder; // for subscribing, beside a sync that may run
    bool Changed(tFileFault fault);
};
