#include "app/BookCommands.h"

#include "addressbooks/tBookDiscovery.h"
#include "addressbooks/tBookSecrets.h"
#include "addressbooks/tBookSync.h"
#include "app/CommandLine.h"
#include "data/tCalendar.h"
#include "platform/CodePage.h"
#include "support/Messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>

#include <filesystem>
#include <optional>

namespace BookCommands {

namespace {

const char* const kLinksPath = "Cal_Data/AddressBooks.json";

std::string Say(tMessage message, std::initializer_list<std::string> values = {}) {
    return TerminalText(MessageText(message, values));
}

// The network's answers come on an event loop: one for the command's length.
QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "zembrola";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return application ? *application : *QCoreApplication::instance();
}

template <typename tAnswer, typename tStart>
tAnswer Wait(tStart start) {
    Application();
    QEventLoop loop;
    std::optional<tAnswer> answer;
    start([&](const tAnswer& given) {
        answer = given;
        loop.quit();
    });
    if (!answer)
        loop.exec();
    return *answer;
}

bool LoadLinks(tBookLinks& links, std::FILE* err) {
    if (links.Load(kLinksPath))
        return true;
    std::fprintf(err, "zembrola: %s cannot be read: no address book was touched.\n", kLinksPath);
    return false;
}

} // namespace

int Add(const tSubscription& subscription, std::FILE* out, std::FILE* err) {
    Application();
    if (tBookLinks links; !LoadLinks(links, err))
        return 1;
    const QString passwordFile = QString::fromStdString(subscription.m_PasswordFile);
    const QString user = QString::fromStdString(subscription.m_User);
    QString password;
    if (!passwordFile.isEmpty()) {
        QString why;
        const std::optional<QString> read = tBookSecrets::ReadFile(passwordFile, &why);
        if (!read) {
            std::fprintf(err, "zembrola: %s\n", Printable(why.toStdString()).c_str());
            return 1;
        }
        password = *read;
    } else if (subscription.m_PasswordOnStdin) {
        // One line, as `secret-tool lookup … | zembrola --add-book …` gives it.
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            password = QString::fromUtf8(in.readLine(4096));
        while (password.endsWith('\n') || password.endsWith('\r'))
            password.chop(1);
    } else if (!user.isEmpty()) {
        std::fprintf(err,
                     "zembrola: a password is needed for %s: give it with --password-stdin or "
                     "--password-file\n",
                     Printable(subscription.m_User).c_str());
        return 1;
    }
    tDavClient client;
    client.SetCredentials(user, password);
    const QString fingerprint = QString::fromStdString(subscription.m_Fingerprint).toUpper();
    client.TrustFingerprint(fingerprint);
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(subscription.m_Url));
    const tBookDiscovery::tFound found =
        Wait<tBookDiscovery::tFound>([&](auto done) { tBookDiscovery::Find(client, url, done); });
    if (found.m_Books.empty()) {
        std::fprintf(err, "zembrola: %s: %s\n", Printable(subscription.m_Url).c_str(),
                     Printable(found.m_Error.toStdString()).c_str());
        return 1;
    }
    const QString passwordPath =
        passwordFile.isEmpty()
            ? QString()
            // Kept whole: a sync runs from the data folder, not from where this was typed.
            : QString::fromStdString(
                  std::filesystem::absolute(subscription.m_PasswordFile).string());
    // The password is kept before the book is: a book whose password is lost is no use.
    if (subscription.m_PasswordOnStdin) {
        for (const tBookDiscovery::tBook& book : found.m_Books) {
            const QString why = Wait<QString>([&](auto done) {
                tBookSecrets::Store(book.m_Url.toString(), user, password, done);
            });
            if (!why.isEmpty()) {
                std::fprintf(err, "zembrola: %s\n", Printable(why.toStdString()).c_str());
                return 1;
            }
        }
    }
    const tFileFault fault = tBookLinks::Change(kLinksPath, [&](tBookLinks& links) {
        for (const tBookDiscovery::tBook& book : found.m_Books) {
            const QString address = book.m_Url.toString();
            tBookLinks::tBook* kept = links.Find(address);
            if (!kept) {
                links.m_Books.push_back({});
                kept = &links.m_Books.back();
                kept->m_Url = address;
            }
            kept->m_Name = book.m_Name;
            kept->m_User = user;
            kept->m_PasswordFile = passwordPath;
            kept->m_Fingerprint = fingerprint;
            kept->m_Gender = subscription.m_Gender;
        }
        // One book takes the new people; the first found when a server offers several.
        if (subscription.m_NewPeopleGoHere) {
            const QString chosen = found.m_Books.front().m_Url.toString();
            for (tBookLinks::tBook& book : links.m_Books)
                book.m_NewPeopleGoHere = book.m_Url == chosen;
        }
        return true;
    });
    if (fault != tFileFault::None) {
        std::fprintf(err, "zembrola: %s could not be saved.\n", kLinksPath);
        return 1;
    }
    for (const tBookDiscovery::tBook& book : found.m_Books)
        std::fprintf(out, "%s\n",
                     Say(tMessage::BookSubscribed,
                         {CodePage::AnsiFromUtf8(
                             (book.m_Url.toString() + " (" + book.m_Name + ")").toStdString())})
                         .c_str());
    return 0;
}

int List(std::FILE* out, std::FILE* err) {
    tBookLinks links;
    if (!LoadLinks(links, err))
        return 1;
    if (links.m_Books.empty())
        std::fprintf(out, "%s\n", Say(tMessage::NoBooks).c_str());
    for (const tBookLinks::tBook& book : links.m_Books)
        std::fprintf(out, "%s\t%s\t%s\n", Printable(book.m_Url.toStdString()).c_str(),
                     book.m_LastSync.isEmpty() ? "-" : book.m_LastSync.toStdString().c_str(),
                     Printable(book.m_Problem.toStdString()).c_str());
    return 0;
}

int Remove(const std::string& url, std::FILE* out, std::FILE* err) {
    if (tBookLinks links; !LoadLinks(links, err))
        return 1;
    const QString address = QUrl::fromUserInput(QString::fromStdString(url)).toString();
    std::optional<tBookLinks::tBook> removed;
    const tFileFault fault = tBookLinks::Change(kLinksPath, [&](tBookLinks& links) {
        std::erase_if(links.m_Books, [&](const tBookLinks::tBook& book) {
            if (book.m_Url == address)
                removed = book;
            return book.m_Url == address;
        });
        return removed.has_value();
    });
    const bool found = removed.has_value();
    if (!found) {
        std::fprintf(err, "zembrola: %s\n", Say(tMessage::NoBooks).c_str());
        return 1;
    }
    if (fault != tFileFault::None) {
        std::fprintf(err, "zembrola: %s could not be saved.\n", kLinksPath);
        return 1;
    }
    if (removed->m_PasswordFile.isEmpty() && !removed->m_User.isEmpty())
        Wait<bool>([&](auto done) {
            tBookSecrets::Forget(removed->m_Url, removed->m_User, [done] { done(true); });
        });
    (void)out;
    return 0;
}

int Sync(std::FILE* out, std::FILE* err) {
    Application();
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    tBookLinks links;
    if (!LoadLinks(links, err))
        return 1;
    if (links.m_Books.empty()) {
        std::fprintf(out, "%s\n", Say(tMessage::NoBooks).c_str());
        return 0;
    }
    tDavClient client;
    tBookSync sync(client, data, kLinksPath, tCalendar::CountPictureFiles("m"),
                   tCalendar::CountPictureFiles("f"));
    const tBookSync::tResult result = Wait<tBookSync::tResult>([&](auto done) { sync.Run(done); });
    for (const tBookReconciler::tChange& change : result.m_Changes) {
        static constexpr tMessage kWords[] = {tMessage::Added,       tMessage::SyncChanged,
                                              tMessage::SyncRemoved, tMessage::SyncKeptOut,
                                              tMessage::SyncWritten, tMessage::SyncConflict};
        std::fprintf(out, "%s\t%s\t%s\n", Printable(change.m_Name).c_str(),
                     TerminalText(tCalendar::DateText(change.m_Month, change.m_Day)).c_str(),
                     Say(kWords[change.m_Kind]).c_str());
    }
    for (const std::string& problem : result.m_Problems)
        std::fprintf(err, "zembrola: %s\n", Printable(problem).c_str());
    if (result.m_Waiting > 0)
        std::fprintf(out, "%s\n",
                     Say(tMessage::SyncWaiting, {std::to_string(result.m_Waiting)}).c_str());
    std::fprintf(out, "%s\n",
                 Say(tMessage::SyncSummary,
                     {std::to_string(result.m_Changes.size()), std::to_string(result.m_Failed)})
                     .c_str());
    return result.m_Failed == 0 ? 0 : 1;
}

} // namespace BookCommands
