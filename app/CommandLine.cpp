#include "app/CommandLine.h"

#include "addressbooks/tBookLinks.h"

#include "app/BookCommands.h"
#include "data/tCalendar.h"
#include "data/tCalendarExport.h"
#include "data/tContactImport.h"
#include "data/tUpcoming.h"
#include "platform/AtomicFile.h"
#include "platform/CTime.h"
#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "support/Messages.h"
#include "support/tAnyError.h"
#include "support/tLanguageString.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

std::optional<int> RunOptions(int argc, char** argv, std::FILE* out, std::FILE* err);

std::string Say(tMessage message, std::initializer_list<std::string> values = {}) {
    return TerminalText(MessageText(message, values));
}

// The options as typed, each with the message that says what it does.
struct tOption {
    const char* m_Syntax;
    tMessage m_Help;
};
constexpr tOption kOptions[] = {
    {"--import FILE.vcf [FILE...] [--gender m|f]", tMessage::UsageImport},
    {"--export-ics FILE", tMessage::UsageExport},
    {"--next [DAYS]", tMessage::UsageNext},
    {"--add-book URL [--user NAME] [--password-stdin | --password-file FILE] "
     "[--trust-fingerprint SHA256] [--gender m|f] [--write]",
     tMessage::UsageAddBook},
    {"--books", tMessage::UsageBooks},
    {"--remove-book URL", tMessage::UsageRemoveBook},
    {"--sync", tMessage::UsageSync},
    {"--help", tMessage::UsageHelp},
};
constexpr size_t kHelpColumn = 23;
constexpr size_t kLineWidth = 79;

// Words of a UTF-8 text on lines of at most width characters, each after indent blanks.
std::string Wrapped(const std::string& text, size_t indent, size_t width, size_t column = 0) {
    std::string out;
    size_t at = column;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find(' ', begin);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(begin, end - begin);
        // Characters, not bytes: continuation bytes take no column.
        const auto length = static_cast<size_t>(std::count_if(word.begin(), word.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
        if (!word.empty()) {
            if (at > indent && at + 1 + length > width) {
                out += '\n';
                out.append(indent, ' ');
                at = indent;
            } else if (at < indent) {
                out.append(indent - at, ' ');
                at = indent;
            } else if (at > indent) {
                out += ' ';
                ++at;
            }
            out += word;
            at += length;
        }
        begin = end + 1;
    }
    return out + "\n";
}

// The help, in the stored language when the data folder has one, else in English.
std::string Usage() {
    std::string text =
        Say(tMessage::UsageLine) + "\n" + Wrapped(Say(tMessage::UsageAbout), 0, kLineWidth) + "\n";
    for (const tOption& option : kOptions) {
        // A long syntax goes on over lines of its own, indented under its option.
        std::string line = Wrapped(option.m_Syntax, 4, kLineWidth).substr(2);
        line.pop_back();
        const size_t last = line.size() - (line.rfind('\n') + 1);
        if (last + 1 > kHelpColumn || last != line.size())
            line += "\n";
        text += line + Wrapped(Say(option.m_Help), kHelpColumn, kLineWidth,
                               line.back() == '\n' ? 0 : line.size());
    }
    return text;
}

// Opens the texts in the stored language without a word about a file the window would
// complain of: the help and the option errors must come, whatever the data folder holds.
void OpenTexts() {
    tDataFile file;
    file.SetFileName("Cal_Data\\DataFile.txt");
    g_LanguageString.SetFileName("Cal_Data\\Language.txt");
    g_LanguageString.SetLanguage(file.ReadLanguage(), file.ReadLanguageText());
}

// Wrong arguments: what was wrong, when it can be said, and the help.
int Misused(std::FILE* err, std::optional<tMessage> why = std::nullopt) {
    if (why)
        std::fprintf(err, "zembrola: %s\n", Say(*why).c_str());
    std::fputs(Usage().c_str(), err);
    return 2;
}

// A file named on the command line, from where the user ran the installed launcher (which goes
// to the data folder before it starts the program).
std::string CallerPath(const std::string& name) {
    const char* caller = std::getenv("ZEMBROLA_CALLER_DIR");
    if (name.empty() || name[0] == '/' || !caller || *caller == '\0')
        return name;
    return std::string(caller) + "/" + name;
}

// Opens the data file and the texts in the stored language.  A language setting or file the
// window could not start with is said as the window says it, before anything is written.
bool OpenData(tDataFile& file, std::FILE* err) {
    file.SetFileName("Cal_Data\\DataFile.txt");
    g_LanguageString.SetFileName("Cal_Data\\Language.txt");
    g_LanguageString.SetLanguage(file.ReadLanguage(), file.ReadLanguageText());
    try {
        g_LanguageString.GetString("title");
    } catch (const tAnyError& error) {
        std::fprintf(err, "zembrola: %s\n", TerminalText(error.m_Text).c_str());
        return false;
    }
    return true;
}

std::string FaultText(const tDataFile& file, tFileFault fault) {
    return Say(MessageForFault(fault), {file.GetFileName()});
}

int Import(const std::vector<std::string>& files, const std::string& gender, std::FILE* out,
           std::FILE* err) {
    tDataFile data;
    if (!OpenData(data, err))
        return 1;
    tContactImport import;
    bool allRead = true;
    for (const std::string& name : files)
        if (const std::optional<tMessage> fault = import.ReadFile(name)) {
            std::fprintf(err, "%s\n", Say(*fault, {name}).c_str());
            allRead = allRead && *fault == tMessage::NoCards; // a file of no cards is read
        }
    import.Plan(data, gender, tCalendar::CountPictureFiles("m"), tCalendar::CountPictureFiles("f"));
    const bool written = import.Apply(data);
    // The years of birth the cards give, for ages: kept where the address books keep theirs.
    if (written)
        tBookLinks::KeepImportedYears("Cal_Data/AddressBooks.json", import.m_Contacts);
    for (const tContactImport::tContact& contact : import.m_Contacts) {
        const std::string date =
            contact.m_Month > 0 ? TerminalText(tCalendar::DateText(contact.m_Month, contact.m_Day))
                                : std::string("-");
        std::fprintf(out, "%s\t%s\t%s\n", Printable(contact.m_ShownName).c_str(), date.c_str(),
                     Say(tContactImport::SkipMessage(contact.m_Skip)).c_str());
    }
    std::fprintf(out, "%s\n", TerminalText(import.Summary()).c_str());
    if (!written)
        std::fprintf(err, "%s\n", FaultText(data, data.LastFault()).c_str());
    return allRead && written ? 0 : 1;
}

int Export(const std::string& target, std::FILE* out, std::FILE* err) {
    tDataFile data;
    if (!OpenData(data, err))
        return 1;
    tBookLinks links;
    const tBookLinks::tBirthYears years =
        links.Load("Cal_Data/AddressBooks.json") ? links.BirthYears() : tBookLinks::tBirthYears{};
    const tCalendarExport::tWritten written =
        tCalendarExport::WriteFile(data, target, std::time(nullptr), tBookLinks::YearLookup(years));
    // A line each, every one shown safely.
    for (size_t begin = 0, end = 0; begin <= written.m_Report.size(); begin = end + 1) {
        end = std::min(written.m_Report.find('\n', begin), written.m_Report.size());
        std::fprintf(written.m_Done ? out : err, "%s\n",
                     TerminalText(written.m_Report.substr(begin, end - begin)).c_str());
    }
    return written.m_Done ? 0 : 1;
}

int Next(const char* daysText, std::FILE* out, std::FILE* err) {
    tDataFile data;
    if (!OpenData(data, err))
        return 1;
    if (const tFileFault fault = data.ReadFault(); fault != tFileFault::None) {
        std::fprintf(err, "%s\n", FaultText(data, fault).c_str());
        return 1;
    }
    // The stored notice as the window takes it.
    int days = std::clamp(data.ReadNotifyDays(), 1, 14);
    if (daysText) {
        char* end = nullptr;
        const long value = std::strtol(daysText, &end, 10);
        if (*daysText == '\0' || *end != '\0' || value < 0 || value > 366) {
            return Misused(err, tMessage::NextTakesDays);
        }
        days = static_cast<int>(value);
    }
    // The ages the address books know, as a third column.
    tBookLinks links;
    const tBookLinks::tBirthYears years =
        links.Load("Cal_Data/AddressBooks.json") ? links.BirthYears() : tBookLinks::tBirthYears{};
    const CTime now = CTime::GetCurrentTime();
    for (const tUpcoming::tItem& item :
         tUpcoming::Find(data, now.GetYear(), now.GetMonth(), now.GetDay(), days)) {
        std::fprintf(out, "%04d-%02d-%02d\t%s", item.m_Year, item.m_Month, item.m_Day,
                     TerminalText(item.m_Name).c_str());
        if (const std::optional<int> age =
                tBookLinks::Age(years, item.m_Year, item.m_Month, item.m_Day, item.m_Name))
            std::fprintf(out, "\t%d", *age);
        std::fputc('\n', out);
    }
    return 0;
}

} // namespace

std::string TerminalText(const std::string& ansi) {
    return Printable(CodePage::Utf8FromAnsi(ansi));
}

std::string Printable(std::string utf8) {
    // A card or a hand-edited file may hold escape sequences that would work on the terminal
    // (its title, its screen) or break the report's lines.
    for (char& c : utf8)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return utf8;
}

std::optional<int> RunCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err) {
    try {
        return RunOptions(argc, argv, out, err);
    } catch (const tAnyError& error) {
        // A text missing from the language file: said, never an abort.
        std::fprintf(err, "zembrola: %s\n", TerminalText(error.m_Text).c_str());
        return 1;
    }
}

namespace {

std::optional<int> RunOptions(int argc, char** argv, std::FILE* out, std::FILE* err) {
    // Only these first arguments ask for terminal work; anything else (Qt's own options) is
    // the window's.
    static const QStringList kOurs = {"--help",   "-h",         "--next",  "--export-ics",
                                      "--import", "--add-book", "--books", "--remove-book",
                                      "--sync"};
    if (argc < 2 || !kOurs.contains(QString::fromLocal8Bit(argv[1])))
        return std::nullopt;
    OpenTexts();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption next("next");
    const QCommandLineOption exportIcs("export-ics", QString(), "FILE");
    const QCommandLineOption import("import");
    const QCommandLineOption gender("gender", QString(), "m|f");
    const QCommandLineOption addBook("add-book", QString(), "URL");
    const QCommandLineOption user("user", QString(), "NAME");
    const QCommandLineOption passwordFile("password-file", QString(), "FILE");
    const QCommandLineOption passwordStdin("password-stdin");
    const QCommandLineOption trust("trust-fingerprint", QString(), "SHA256");
    const QCommandLineOption books("books");
    const QCommandLineOption removeBook("remove-book", QString(), "URL");
    const QCommandLineOption sync("sync");
    const QCommandLineOption write("write");
    parser.addOptions({help, next, exportIcs, import, gender, addBook, user, passwordFile,
                       passwordStdin, trust, write, books, removeBook, sync});
    if (!parser.parse(arguments))
        return Misused(err);
    const QStringList rest = parser.positionalArguments();
    const auto local = [](const QString& text) { return std::string(text.toLocal8Bit()); };
    const int asked = parser.isSet(help) + parser.isSet(next) + parser.isSet(exportIcs) +
                      parser.isSet(import) + parser.isSet(addBook) + parser.isSet(books) +
                      parser.isSet(removeBook) + parser.isSet(sync);
    const bool bookOptions = parser.isSet(user) || parser.isSet(passwordFile) ||
                             parser.isSet(passwordStdin) || parser.isSet(trust) ||
                             parser.isSet(write);
    if (asked != 1 || (parser.isSet(gender) && !parser.isSet(import) && !parser.isSet(addBook)) ||
        (bookOptions && !parser.isSet(addBook)) ||
        (parser.isSet(passwordFile) && parser.isSet(passwordStdin)))
        return Misused(err);
    if (parser.isSet(addBook) || parser.isSet(books) || parser.isSet(removeBook) ||
        parser.isSet(sync)) {
        if (!rest.isEmpty())
            return Misused(err);
        if (parser.isSet(books))
            return BookCommands::List(out, err);
        if (parser.isSet(sync))
            return BookCommands::Sync(out, err);
        if (parser.isSet(removeBook))
            return BookCommands::Remove(local(parser.value(removeBook)), out, err);
        BookCommands::tSubscription subscription;
        subscription.m_Url = local(parser.value(addBook));
        subscription.m_User = local(parser.value(user));
        if (parser.isSet(passwordFile))
            subscription.m_PasswordFile = CallerPath(local(parser.value(passwordFile)));
        subscription.m_PasswordOnStdin = parser.isSet(passwordStdin);
        subscription.m_Fingerprint = local(parser.value(trust));
        subscription.m_Gender = local(parser.value(gender));
        subscription.m_NewPeopleGoHere = parser.isSet(write);
        if (parser.isSet(gender) && subscription.m_Gender != "m" && subscription.m_Gender != "f")
            return Misused(err, tMessage::GenderTakesMOrF);
        return BookCommands::Add(subscription, out, err);
    }
    if (parser.isSet(help)) {
        std::fputs(Usage().c_str(), out);
        return 0;
    }
    if (parser.isSet(next)) {
        if (rest.size() > 1)
            return Misused(err);
        const std::string days = rest.isEmpty() ? std::string() : local(rest.front());
        return Next(rest.isEmpty() ? nullptr : days.c_str(), out, err);
    }
    if (parser.isSet(exportIcs)) {
        if (!rest.isEmpty())
            return Misused(err);
        return Export(CallerPath(local(parser.value(exportIcs))), out, err);
    }
    std::string chosen;
    if (parser.isSet(gender)) {
        chosen = local(parser.value(gender));
        if (chosen != "m" && chosen != "f")
            return Misused(err, tMessage::GenderTakesMOrF);
    }
    if (rest.isEmpty())
        return Misused(err);
    std::vector<std::string> files;
    for (const QString& file : rest)
        files.push_back(CallerPath(local(file)));
    return Import(files, chosen, out, err);
}

} // namespace
