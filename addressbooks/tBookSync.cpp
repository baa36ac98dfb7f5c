#include "addressbooks/tBookSync.h"

#include "addressbooks/tBookSecrets.h"
#include "addressbooks/tCardEditor.h"
#include "addressbooks/tDavMultiStatus.h"
#include "formats/tFormats.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <set>

namespace {

constexpr size_t kCardsPerRequest = 200;

// Runs work beside the event loop, then hands its result to then on the event loop, unless the
// sync that asked (alive) is gone meanwhile.
template <typename tWork, typename tThen>
void Aside(std::weak_ptr<int> alive, tWork work, tThen then) {
    QThreadPool::globalInstance()->start([alive, work = std::move(work), then = std::move(then)] {
        auto result = std::make_shared<decltype(work())>(work());
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive, then, result] {
                if (alive.lock())
                    then(*result);
            },
            Qt::QueuedConnection);
    });
}

QByteArray SyncReport(const QString& token) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                          "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>%1</d:sync-token>"
                          "<d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                          "</d:sync-collection>")
        .arg(token.toHtmlEscaped())
        .toUtf8();
}

const QByteArray kEveryETag = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                              "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/><d:resourcetype/>"
                              "<d:sync-token/></d:prop></d:propfind>";

QByteArray Multiget(const std::vector<QString>& hrefs) {
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                      "<c:addressbook-multiget xmlns:d=\"DAV:\" "
                      "xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                      "<d:prop><d:getetag/><c:address-data/></d:prop>";
    for (const QString& href : hrefs)
        body += "<d:href>" + href.toHtmlEscaped().toUtf8() + "</d:href>";
    return body + "</c:addressbook-multiget>";
}

// The path of a member, as the links keep it: the server may write whole URLs or paths.
QString PathOf(const QUrl& book, const QString& href) {
    return book.resolved(QUrl(href)).path();
}

QString Why(const tDavClient::tReply& reply) {
    return reply.m_Error.isEmpty() ? QStringLiteral("the server answered %1").arg(reply.m_Status)
                                   : reply.m_Error;
}

} // namespace

tBookSync::tBookSync(tDavClient& client, tDataFile& data, std::string linksPath, int malePictures,
                     int femalePictures)
    : m_Client(client), m_Data(data), m_LinksPath(std::move(linksPath)),
      m_MalePictures(malePictures), m_FemalePictures(femalePictures) {}

void tBookSync::Run(tDone done) {
    m_Done = std::move(done);
    m_Result = {};
    m_Again.clear();
    // The links of thousands of contacts take tens of milliseconds to parse: beside the event
    // loop, as a book's listing is.
    struct tLoaded {
        std::optional<QByteArray> m_Text;
        tBookLinks m_Links;
        bool m_Read = false;
    };
    Aside(
        m_Alive,
        [path = m_LinksPath] {
            tLoaded loaded;
            const std::optional<std::string> text = AtomicFile::Read(path);
            loaded.m_Read = text ? loaded.m_Links.LoadText(*text) : loaded.m_Links.Load(path);
            if (text)
                loaded.m_Text = QByteArray::fromStdString(*text);
            return loaded;
        },
        [this](tLoaded& loaded) {
            if (!loaded.m_Read) {
                m_Result.m_Failed = 1;
                m_Result.m_Problems.push_back(m_LinksPath + " cannot be read: nothing was synced");
                Finish();
                return;
            }
            m_Links = std::move(loaded.m_Links);
            m_LinksText = std::move(loaded.m_Text);
            SyncBook(0);
        });
}

void tBookSync::Finish() {
    tDone done = std::move(m_Done);
    if (done)
        done(m_Result);
}

void tBookSync::Fail(size_t index, const QString& why) {
    tBookLinks::tBook& book = m_Links.m_Books[index];
    ++m_Result.m_Failed;
    m_Result.m_Problems.push_back((book.m_Url + ": " + why).toStdString());
    // Only the problem is written down; the book's cards and token stay as they were.
    tBookLinks::Change(m_LinksPath, [&](tBookLinks& links) {
        tBookLinks::tBook* same = links.Find(book.m_Url);
        if (same)
            same->m_Problem = why;
        return same != nullptr;
    });
    SyncBook(index + 1);
}

void tBookSync::SyncBook(size_t index) {
    if (index >= m_Links.m_Books.size()) {
        Finish();
        return;
    }
    const tBookLinks::tBook& book = m_Links.m_Books[index];
    // The password may come from the secret store, on the event loop: a stale callback after
    // this sync is gone must not run.
    tBookSecrets::Read(book, [this, index, alive = std::weak_ptr<int>(m_Alive)](
                                 const std::optional<QString>& password, const QString& why) {
        if (!alive.lock())
            return;
        if (!password) {
            Fail(index, why);
            return;
        }
        const tBookLinks::tBook& book = m_Links.m_Books[index];
        m_Client.SetCredentials(book.m_User, *password);
        m_Client.TrustFingerprint(book.m_Fingerprint);
        Ask(index);
    });
}

void tBookSync::Ask(size_t index) {
    const tBookLinks::tBook& book = m_Links.m_Books[index];
    m_Conflicted = false;
    const QUrl url(book.m_Url);
    const QString token = book.m_SyncToken;
    m_Client.Report(
        url, "1", SyncReport(token), [this, index, url](const tDavClient::tReply& reply) {
            ParseAside(reply.m_Body, [this, index, url,
                                      reply](const std::optional<tDavMultiStatus>& status) {
                if (reply.m_Status == 207 && status) {
                    std::vector<QString> changed, deleted;
                    for (const auto& resource : status->m_Resources) {
                        const QString path = PathOf(url, resource.m_Href);
                        if (path == url.path())
                            continue;
                        if (resource.m_Status == 404)
                            deleted.push_back(path);
                        else if (resource.m_Status / 100 == 2 && !resource.m_IsCollection)
                            changed.push_back(path);
                    }
                    Fetch(index, std::move(changed), std::move(deleted), status->m_SyncToken);
                    return;
                }
                if (!reply.m_Error.isEmpty() || reply.m_Status == 401) {
                    Fail(index, Why(reply));
                    return;
                }
                // No sync for this token (forgotten, or never given): every card's ETag compared.
                m_Client.Propfind(
                    url, "1", kEveryETag, [this, index, url](const tDavClient::tReply& listing) {
                        ParseAside(
                            listing.m_Body, [this, index, url, listing](
                                                const std::optional<tDavMultiStatus>& members) {
                                if (listing.m_Status != 207 || !members) {
                                    Fail(index, Why(listing));
                                    return;
                                }
                                const tBookLinks::tBook& book = m_Links.m_Books[index];
                                std::vector<QString> changed, deleted;
                                QString newToken;
                                std::set<QString> present;
                                for (const auto& resource : members->m_Resources) {
                                    const QString path = PathOf(url, resource.m_Href);
                                    if (path == url.path() || resource.m_IsCollection) {
                                        if (path == url.path())
                                            newToken = resource.m_SyncToken;
                                        continue;
                                    }
                                    present.insert(path);
                                    const auto known = book.m_Contacts.find(path);
                                    if (known == book.m_Contacts.end() ||
                                        known->second.m_ETag != resource.m_ETag)
                                        changed.push_back(path);
                                }
                                for (const auto& [path, contact] : book.m_Contacts)
                                    if (!present.count(path))
                                        deleted.push_back(path);
                                Fetch(index, std::move(changed), std::move(deleted), newToken);
                            });
                    });
            });
        });
}

void tBookSync::ParseAside(QByteArray body,
                           std::function<void(const std::optional<tDavMultiStatus>&)> then) {
    // A book's listing of thousands of cards takes tens of milliseconds to read.
    Aside(
        m_Alive, [body = std::move(body)] { return tDavMultiStatus::Parse(body); },
        std::move(then));
}

void tBookSync::Fetch(size_t index, std::vector<QString> hrefs, std::vector<QString> deleted,
                      QString token) {
    auto cards = std::make_shared<std::vector<tBookReconciler::tCard>>();
    auto pending = std::make_shared<std::vector<QString>>(std::move(hrefs));
    // Each batch's answer asks for the next; the answer in flight keeps the chain alive, and
    // the chain holds itself only weakly, so that it goes when the last answer has come.
    auto next = std::make_shared<std::function<void()>>();
    const QUrl url(m_Links.m_Books[index].m_Url);
    *next = [this, index, url, cards, pending, self = std::weak_ptr(next),
             deleted = std::move(deleted), token] {
        if (pending->empty()) {
            Apply(index, *cards, deleted, token);
            return;
        }
        const size_t take = std::min(kCardsPerRequest, pending->size());
        std::vector<QString> batch(pending->begin(), pending->begin() + take);
        pending->erase(pending->begin(), pending->begin() + take);
        m_Client.Report(
            url, "1", Multiget(batch),
            [this, index, url, cards, next = self.lock()](const tDavClient::tReply& reply) {
                const auto status = tDavMultiStatus::Parse(reply.m_Body);
                if (reply.m_Status != 207 || !status) {
                    Fail(index, Why(reply));
                    return;
                }
                for (const auto& resource : status->m_Resources)
                    if (resource.m_Status / 100 == 2 && !resource.m_AddressData.isEmpty())
                        cards->push_back({PathOf(url, resource.m_Href), resource.m_ETag,
                                          resource.m_AddressData.toStdString()});
                (*next)();
            });
    };
    (*next)();
}

void tBookSync::Apply(size_t index, const std::vector<tBookReconciler::tCard>& cards,
                      const std::vector<QString>& deleted, const QString& token) {
    // Decided against the files as they are now; the links are saved only if nobody saved them
    // meanwhile (see Save).
    auto current = std::make_shared<tBookLinks>();
    const auto read =
        std::make_shared<const std::optional<std::string>>(AtomicFile::Read(m_LinksPath));
    // An absent file is no books (the book was removed meanwhile).
    if (*read && m_LinksText && QByteArrayView(**read) == *m_LinksText)
        *current = m_Links;
    else if (*read ? !current->LoadText(**read) : !current->Load(m_LinksPath)) {
        Fail(index, QStringLiteral("the links file cannot be read"));
        return;
    }
    const tBookLinks::tBook* book = current->Find(m_Links.m_Books[index].m_Url);
    if (!book) {
        SyncBook(index + 1); // removed meanwhile
        return;
    }
    std::vector<tBookLinks::tBook> others;
    for (const tBookLinks::tBook& other : current->m_Books)
        if (&other != book)
            others.push_back(other);
    tFormats::Get(); // loaded here, not on the worker
    auto promise = std::make_shared<QPromise<tDecision>>();
    QObject::connect(&m_Deciding, &QFutureWatcher<tDecision>::finished, &m_Deciding,
                     [this, index, current, read] {
                         m_Deciding.disconnect();
                         Write(std::make_shared<tWriting>(tWriting{
                                   index, current, m_Deciding.future().takeResult(), read}),
                               0);
                     });
    m_Deciding.setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, book = *book, others = std::move(others), cards,
                                          deleted, people = m_Data.ReadAllEntries(), token,
                                          current = std::shared_ptr<const tBookLinks>(current),
                                          male = m_MalePictures,
                                          female = m_FemalePictures]() mutable {
        promise->start();
        std::vector<const tBookLinks::tBook*> pointers;
        for (const tBookLinks::tBook& other : others)
            pointers.push_back(&other);
        tDecision decision;
        decision.m_Plan = tBookReconciler::Decide(book, pointers, cards, deleted, people,
                                                  current->m_LocalOnly, male, female);
        book.m_SyncToken = token;
        book.m_Problem.clear();
        book.m_LastSync = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
        decision.m_Book = std::move(book);
        // Thousands of contacts take tens of milliseconds to write out: done here when the
        // book is not written to first.
        if (decision.m_Plan.m_Writes.empty()) {
            decision.m_After = After(*current, decision);
            decision.m_AfterText = decision.m_After->Serialized();
        }
        promise->addResult(std::move(decision));
        promise->finish();
    });
}

void tBookSync::Write(std::shared_ptr<tWriting> writing, size_t next) {
    using tWrite = tBookReconciler::tWrite;
    tDecision& decision = writing->m_Decision;
    if (next >= decision.m_Plan.m_Writes.size()) {
        Save(writing->m_Index, *writing->m_Current, decision, *writing->m_Read);
        return;
    }
    const tWrite& write = decision.m_Plan.m_Writes[next];
    const QUrl card = QUrl(decision.m_Book.m_Url).resolved(QUrl(write.m_Href));
    const auto goOn = [this, writing, next] { Write(writing, next + 1); };
    const auto done = [this, writing, next, goOn](const tDavClient::tReply& reply) {
        tDecision& decision = writing->m_Decision;
        tWrite& write = decision.m_Plan.m_Writes[next];
        if (reply.m_Status / 100 == 2) {
            write.m_Contact.m_ETag = QString::fromUtf8(reply.m_ETag);
            decision.m_Book.m_Contacts[write.m_Href] = write.m_Contact;
            const bool dropped = write.m_Kind == tWrite::kDropBirthday;
            const tBookLinks::tContact& told = dropped ? write.m_Was : write.m_Contact;
            m_Result.m_Changes.push_back(
                {told.m_Exact, told.m_Month, told.m_Day, tBookReconciler::tChange::kWritten});
        } else if (reply.m_Status == 412) {
            m_Conflicted = true; // the card changed meanwhile: the book is synced again
        } else if (reply.m_Status == 404) {
            // Deleted on the server since the last sync (a report may leave out a card made
            // and deleted in between): the link goes, and the person here is written anew.
            decision.m_Book.m_Contacts.erase(write.m_Href);
            m_Conflicted = true;
        } else {
            // Left as it was: the change is found again and written at the next sync.
            m_Result.m_Problems.push_back((decision.m_Book.m_Url + ": " +
                                           QString::fromStdString(write.m_Contact.m_Exact) + ": " +
                                           Why(reply))
                                              .toStdString());
            ++m_Result.m_Failed;
        }
        goOn();
    };
    const auto put = [this, card, done](const std::string& text, const QByteArray& condition,
                                        const QByteArray& etag) {
        m_Client.Send("PUT", card, QByteArray::fromStdString(text),
                      {{"Content-Type", "text/vcard; charset=utf-8"}, {condition, etag}}, done);
    };
    if (write.m_Kind == tWrite::kCreate) {
        const tBookLinks::tContact& now = write.m_Contact;
        put(tCardEditor::NewCard(now.m_Uid, now.m_Exact, now.m_Month, now.m_Day,
                                 now.m_Picture.substr(0, 1)),
            "If-None-Match", "*");
        return;
    }
    const auto edit = [write](std::string text) {
        const tBookLinks::tContact& was = write.m_Was;
        const tBookLinks::tContact& now = write.m_Contact;
        if (write.m_Kind == tWrite::kDropBirthday)
            return tCardEditor::RemoveBirthday(text);
        if (now.m_Exact != was.m_Exact)
            text = tCardEditor::Rename(text, now.m_Exact);
        if (now.m_Month != was.m_Month || now.m_Day != was.m_Day)
            text = tCardEditor::MoveBirthday(text, now.m_Month, now.m_Day);
        return text;
    };
    const QByteArray etag = write.m_ETag.toUtf8();
    if (!write.m_Card.empty()) {
        put(edit(write.m_Card), "If-Match", etag);
        return;
    }
    // Written on the card as the server has it now; If-Match refuses it if that is not the
    // version of the last sync.
    m_Client.Send("GET", card, {}, {}, [put, edit, etag, done](const tDavClient::tReply& reply) {
        if (reply.m_Status == 200)
            put(edit(reply.m_Body.toStdString()), "If-Match", etag);
        else
            done(reply);
    });
}

tBookLinks tBookSync::After(const tBookLinks& current, const tDecision& decision) {
    tBookLinks after = current;
    if (tBookLinks::tBook* book = after.Find(decision.m_Book.m_Url))
        *book = decision.m_Book;
    after.m_LocalOnly = decision.m_Plan.m_LocalOnly;
    return after;
}

void tBookSync::Save(size_t index, const tBookLinks& current, tDecision& decision,
                     const std::optional<std::string>& read) {
    if (!decision.m_After) {
        decision.m_After = After(current, decision);
        decision.m_AfterText = decision.m_After->Serialized();
    }
    std::vector<tDataFile::tAdded> results;
    bool meanwhile = false;
    // Under the lock: the links must be the ones decided on, or another sync (a second
    // program) has saved since; then nothing is saved and the next sync starts afresh.  They
    // are written after the data file, so that a kill between the two leaves the data file
    // ahead, which the next sync recognises, and never the links.
    const bool saved = m_Data.ChangeEntries(
        decision.m_Plan.m_Removals, decision.m_Plan.m_Additions, results,
        [&] {
            meanwhile = AtomicFile::Read(m_LinksPath) != read;
            return !meanwhile;
        },
        [&] {
            return tBookLinks::SaveText(m_LinksPath, decision.m_AfterText) == tFileFault::None;
        });
    if (!saved) {
        Fail(index, meanwhile ? QStringLiteral("another sync saved meanwhile; tried again later")
                              : QStringLiteral("the data file could not be saved"));
        return;
    }
    m_Links = std::move(*decision.m_After);
    m_LinksText = decision.m_AfterText;
    m_Result.m_Waiting += decision.m_Plan.m_Waiting;
    for (const tBookReconciler::tChange& change : decision.m_Plan.m_Changes)
        m_Result.m_Changes.push_back(change);
    // Once more after writing: a card changed while it was written comes in now, and the
    // server's token then covers what was written, so that a later delete of a card made here
    // is reported.
    const bool wrote = !decision.m_Plan.m_Writes.empty();
    if ((m_Conflicted || wrote) && m_Again[index]++ < 2) {
        SyncBook(index);
        return;
    }
    SyncBook(index + 1);
}
