#include "app/BookCommands.h"

#include "addressbooks/tBookDiscovery.h"
#include "addressbooks/tBookSecrets.h"
#include "addressbooks/tBookSubscription.h"
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
    tBookSubscription::tRequest request;
    request.m_Url = QUrl::fromUserInput(QString::fromStdString(subscription.m_Url));
    request.m_User = user;
    request.m_Password = password;
    request.m_StorePassword = subscription.m_PasswordOnStdin;
    // Kept whole: a sync runs from the data folder, not from where this was typed.
    if (!passwordFile.isEmpty())
        request.m_PasswordFile =
            QString::fromStdString(std::filesystem::absolute(subscription.m_PasswordFile).string());
    request.m_Fingerprint = QString::fromStdString(subscription.m_Fingerprint).toUpper();
    request.m_Gender = subscription.m_Gender;
    request.m_NewPeopleGoHere = subscription.m_NewPeopleGoHere;
    tDavClient client;
    const tBookSubscription::tResult found = Wait<tBookSubscription::tResult>(
        [&](auto done) { tBookSubscription::Subscribe(client, kLinksPath, request, done); });
    if (found.m_Books.empty()) {
        std::fprintf(err, "zembrola: %s: %s\n", Printable(subscription.m_Url).c_str(),
                     Printable(found.m_Error.toStdString()).c_str());
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
    QString why;
    const bool removed = Wait<bool>([&](auto done) {
        if (!tBookSubscription::Unsubscribe(kLinksPath, address, &why, [done] { done(true); }))
            done(false);
    });
    if (!removed) {
        std::fprintf(err, "zembrola: %s\n",
                     why.isEmpty() ? Say(tMessage::NoBooks).c_str()
                                   : Printable(why.toStdString()).c_str());
        return 1;
    }
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
