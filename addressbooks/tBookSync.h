// One sync of every subscribed address book with the data file: per book, what changed on
// the server (the sync report from the last token, or every card's ETag compared when the
// server has no token for us), the changed cards fetched, the changes decided, and the data
// file and the links saved together in one save.  A book that fails changes nothing and says
// why; the next sync tries again.
#pragma once

#include "addressbooks/tBookLinks.h"
#include "addressbooks/tBookReconciler.h"
#include "addressbooks/tDavClient.h"
#include "addressbooks/tDavMultiStatus.h"
#include "data/tDataFile.h"

#include <QFutureWatcher>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class tBookSync {
public:
    struct tResult {
        std::vector<tBookReconciler::tChange> m_Changes;
        int m_Failed = 0; // books that could not be synced
        std::vector<std::string> m_Problems;
        int m_Waiting = 0; // cards waiting for a gender
    };
    using tDone = std::function<void(const tResult&)>;

    // linksPath: the links file beside the data file.
    tBookSync(tDavClient& client, tDataFile& data, std::string linksPath, int malePictures,
              int femalePictures);

    // Syncs every book, one after another, and calls done once on the event loop.
    void Run(tDone done);

private:
    struct tWork;
    void SyncBook(size_t index);
    void Ask(size_t index); // the server, once the password is known
    void ParseAside(QByteArray body,
                    std::function<void(const std::optional<tDavMultiStatus>&)> then);
    void Finish();
    void Fail(size_t index, const QString& why);
    void Fetch(size_t index, std::vector<QString> hrefs, std::vector<QString> deleted,
               QString token);
    void Apply(size_t index, const std::vector<tBookReconciler::tCard>& cards,
               const std::vector<QString>& deleted, const QString& token);
    // What a worker thread decided for one book, to be saved on the event loop's thread.
    struct tDecision {
        tBookLinks::tBook m_Book;
        tBookReconciler::tPlan m_Plan;
        // The links as they will be saved, and their text, made beside the event loop when
        // nothing is to be written to the book (writing changes them).
        std::optional<tBookLinks> m_After;
        QByteArray m_AfterText;
    };
    // Writes the decision's changes to the book one after another, then saves.
    struct tWriting {
        size_t m_Index;
        std::shared_ptr<const tBookLinks> m_Current;
        tDecision m_Decision;
        // The links file the decision was made on, shared: a megabyte copied on the event
        // loop costs milliseconds of fresh pages.
        std::shared_ptr<const std::optional<std::string>> m_Read;
    };
    void Write(std::shared_ptr<tWriting> writing, size_t next);
    static tBookLinks After(const tBookLinks& current, const tDecision& decision);
    void Save(size_t index, const tBookLinks& current, tDecision& decision,
              const std::optional<std::string>& read);

    tDavClient& m_Client;
    tDataFile& m_Data;
    std::string m_LinksPath;
    int m_MalePictures;
    int m_FemalePictures;
    tBookLinks m_Links;
    // The links file's text as m_Links was read from it or saved to it: while the file still
    // holds it, a book's decision copies m_Links instead of parsing thousands of contacts again.
    std::optional<QByteArray> m_LinksText;
    tResult m_Result;
    tDone m_Done;
    // How often each book was synced again in this run after writing to it.
    std::map<size_t, int> m_Again;
    bool m_Conflicted = false; // in the book being synced
    // Deciding on thousands of cards takes longer than a frame: it runs beside the event loop.
    // The watcher goes with this object; a decision it no longer waits for is dropped.
    QFutureWatcher<tDecision> m_Deciding;
    std::shared_ptr<int> m_Alive = std::make_shared<int>();
};
