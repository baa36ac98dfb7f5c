// The sync of a data file with an address book on a real server, step by step as a phone
// changes the book and the user changes the data file: what the data file holds after each
// sync, against Radicale and Xandikos.
#include "addressbooks/tBookSync.h"
#include "addressbooks/tDavMultiStatus.h"
#include "tests/support/DavServer.h"
#include "tests/support/TestSupport.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>

using TestSupport::tDavServer;

namespace {

QByteArray Card(const std::string& uid, const std::string& lines) {
    return QByteArray::fromStdString("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\n" + lines +
                                     "END:VCARD\r\n");
}

class BookSyncTest : public testing::TestWithParam<tDavServer::tKind> {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_Scratch.Path() + "/server");
        m_Server = std::make_unique<tDavServer>(GetParam(), m_Scratch.Path() + "/server");
        if (!m_Server->Problem().isEmpty())
            GTEST_SKIP() << m_Server->Problem().toStdString();
        m_Data.SetFileName("Cal_Data\\DataFile.txt");
        TestSupport::WriteFile("Cal_Data/DataFile.txt", "[settings]\r\nlanguage=1\r\n");
        tBookLinks links;
        tBookLinks::tBook book;
        book.m_Url = m_Server->Book().toString();
        book.m_User = m_Server->User();
        if (!m_Server->Password().isEmpty()) {
            book.m_PasswordFile = QStringLiteral("Cal_Data/password");
            std::ofstream(book.m_PasswordFile.toStdString()) << m_Server->Password().toStdString();
            chmod(book.m_PasswordFile.toStdString().c_str(), 0600);
        }
        links.m_Books.push_back(book);
        ASSERT_EQ(links.Save(kLinks), tFileFault::None);
    }

    tBookSync::tResult Sync() { return Sync(m_Data, kLinks); }
    tBookSync::tResult Sync(tDataFile& data, const std::string& links) {
        tBookSync sync(m_Client, data, links, 12, 12);
        QEventLoop loop;
        std::optional<tBookSync::tResult> result;
        sync.Run([&](const tBookSync::tResult& given) {
            result = given;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (!result)
            loop.exec();
        return result.value_or(tBookSync::tResult{{}, 99, {"no end"}, 0});
    }

    // "Name dd-mm picture-letter" for everybody in the data file.
    std::set<std::string> People() { return People(m_Data); }
    static std::set<std::string> People(tDataFile& data) {
        std::set<std::string> people;
        for (const tDataFile::tEntry& person : data.ReadAllEntries()) {
            char day[8];
            std::snprintf(day, sizeof day, "%02d-%02d", person.m_Day, person.m_Month);
            people.insert(person.ShownName() + " " + day + " " + person.m_Picture.substr(0, 1));
        }
        return people;
    }

    // The cards on the server, by the name of their file.
    std::map<std::string, std::string> Cards() {
        QByteArray answer;
        m_Server->Request("PROPFIND", m_Server->Book(),
                          "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>",
                          "application/xml", &answer, "1");
        std::map<std::string, std::string> cards;
        const auto status = tDavMultiStatus::Parse(answer);
        for (const auto& resource :
             status ? status->m_Resources : decltype(status->m_Resources){}) {
            const QUrl url = m_Server->Book().resolved(QUrl(resource.m_Href));
            if (!url.path().endsWith(".vcf"))
                continue;
            QByteArray card;
            m_Server->Request("GET", url, {}, {}, &card);
            cards[url.fileName().toStdString()] = card.toStdString();
        }
        return cards;
    }

    void ChangeLinks(const std::function<void(tBookLinks&)>& change) {
        ChangeLinks(kLinks, change);
    }
    static void ChangeLinks(const std::string& path,
                            const std::function<void(tBookLinks&)>& change) {
        tBookLinks links;
        ASSERT_TRUE(links.Load(path));
        change(links);
        ASSERT_EQ(links.Save(path), tFileFault::None);
    }

    const std::string kLinks = "Cal_Data/AddressBooks.json";
    TestSupport::tScratch m_Scratch{TestSupport::tScratch::tContent::InstallationData};
    std::unique_ptr<tDavServer> m_Server;
    tDavClient m_Client;
    tDataFile m_Data;
};

TEST_P(BookSyncTest, EveryChangeOnEitherSideFollows) {
    const auto put = [&](const char* name, const std::string& lines) {
        ASSERT_EQ(m_Server->Put(QString(name) + ".vcf", Card(name, lines)) / 100, 2) << name;
    };
    struct tStep {
        const char* m_What;
        std::function<void()> m_Do;
        std::set<std::string> m_People;
        int m_Waiting = 0;
    };
    const std::vector<tStep> steps = {
        {"the first sync",
         [&] {
             put("anna", "FN:Anna Berg\r\nBDAY:--1224\r\nGENDER:F\r\n");
             put("ben", "FN:Ben Ek\r\nBDAY:1980-02-29\r\nX-GENDER:Male\r\n");
             put("carl", "FN:Carl Dahl\r\nGENDER:M\r\n");
             put("dora", "FN:Dora\r\nBDAY;VALUE=text:circa 1980\r\nGENDER:F\r\n");
             put("eva", "FN:Eva Lund\r\nBDAY:19900505\r\n");
             put("ida", "FN:Ida Holm\r\nN:Holm;Ida;;;\r\nBDAY;X-APPLE-OMIT-YEAR=1604:1604-07-01\r\n"
                        "GENDER:F\r\n");
         },
         {"Anna Berg 24-12 f", "Ben Ek 29-02 m", "Ida Holm 01-07 f"},
         1},
        {"a rename",
         [&] { put("anna", "FN:Anna Lind\r\nBDAY:--1224\r\nGENDER:F\r\n"); },
         {"Anna Lind 24-12 f", "Ben Ek 29-02 m", "Ida Holm 01-07 f"},
         1},
        {"a moved birthday",
         [&] { put("ben", "FN:Ben Ek\r\nBDAY:1980-03-01\r\nGENDER:M\r\n"); },
         {"Anna Lind 24-12 f", "Ben Ek 01-03 m", "Ida Holm 01-07 f"},
         1},
        {"a removed birthday",
         [&] { put("anna", "FN:Anna Lind\r\nGENDER:F\r\n"); },
         {"Ben Ek 01-03 m", "Ida Holm 01-07 f"},
         1},
        {"a deleted contact",
         [&] { ASSERT_EQ(m_Server->Delete("ben.vcf") / 100, 2); },
         {"Ida Holm 01-07 f"},
         1},
        {"a card of someone typed by hand",
         [&] {
             std::vector<tDataFile::tAdded> added;
             ASSERT_TRUE(m_Data.AddEntries({{6, 5, "fia holm", "f002", ""}}, added));
             put("fia", "FN:Fia Holm\r\nBDAY:--0605\r\nGENDER:F\r\n");
         },
         {"Ida Holm 01-07 f", "fia holm 05-06 f"},
         1},
        {"someone removed in Zembrola stays out",
         [&] {
             tDataFile::tEntry ida = m_Data.ReadEntries(7, 1).at(0);
             ASSERT_TRUE(m_Data.DeleteEntry(ida));
         },
         {"fia holm 05-06 f"},
         1},
        {"and stays out when the card changes",
         [&] { put("ida", "FN:Ida Holm\r\nBDAY:--0701\r\nTEL:123\r\nGENDER:F\r\n"); },
         {"fia holm 05-06 f"},
         1},
        {"a token the server forgot",
         [&] {
             tBookLinks links;
             ASSERT_TRUE(links.Load(kLinks));
             links.m_Books[0].m_SyncToken = "http://example.com/forgotten/1";
             ASSERT_EQ(links.Save(kLinks), tFileFault::None);
             put("gus", "FN:Gus Berg\r\nBDAY:--0909\r\nGENDER:M\r\n");
         },
         {"Gus Berg 09-09 m", "fia holm 05-06 f"},
         1},
        {"a gender chosen in the window for the card that waits",
         [&] {
             std::vector<tDataFile::tAdded> added;
             ASSERT_TRUE(m_Data.AddEntries({{5, 5, "Eva Lund", "m003", ""}}, added));
             ChangeLinks([](tBookLinks& links) {
                 for (auto& [href, contact] : links.m_Books[0].m_Contacts)
                     if (contact.m_WaitsForGender)
                         contact.m_Gender = "f";
             });
         },
         // A namesake typed by hand meanwhile is the same person, kept as typed.
         {"Eva Lund 05-05 m", "Gus Berg 09-09 m", "fia holm 05-06 f"},
         0},
        {"a card that waited, deleted, leaves the one typed by hand",
         [&] {
             put("olle", "FN:Olle Ek\r\nBDAY:--0808\r\n");
             std::vector<tDataFile::tAdded> added;
             ASSERT_TRUE(m_Data.AddEntries({{8, 8, "Olle Ek", "m002", ""}}, added));
         },
         {"Eva Lund 05-05 m", "Gus Berg 09-09 m", "Olle Ek 08-08 m", "fia holm 05-06 f"},
         1},
        {"",
         [&] { ASSERT_EQ(m_Server->Delete("olle.vcf") / 100, 2); },
         {"Eva Lund 05-05 m", "Gus Berg 09-09 m", "Olle Ek 08-08 m", "fia holm 05-06 f"},
         0},
    };
    // What the terminal and the window tell: a rename or a moved birthday is one change.
    const std::map<std::string, std::vector<std::string>> told = {
        {"a rename", {"Anna Lind changed"}},
        {"a moved birthday", {"Ben Ek changed"}},
        {"a removed birthday", {"Anna Lind removed"}},
    };
    for (const tStep& step : steps) {
        SCOPED_TRACE(step.m_What);
        step.m_Do();
        const tBookSync::tResult result = Sync();
        EXPECT_EQ(result.m_Failed, 0) << (result.m_Problems.empty() ? "" : result.m_Problems[0]);
        EXPECT_EQ(People(), step.m_People);
        EXPECT_EQ(result.m_Waiting, step.m_Waiting);
        if (const auto expected = told.find(step.m_What); expected != told.end()) {
            std::vector<std::string> changes;
            for (const tBookReconciler::tChange& change : result.m_Changes)
                changes.push_back(change.m_Name +
                                  (change.m_Kind == tBookReconciler::tChange::kChanged ? " changed"
                                   : change.m_Kind == tBookReconciler::tChange::kRemoved
                                       ? " removed"
                                       : " other"));
            EXPECT_EQ(changes, expected->second);
        }
    }
    // A second sync with nothing changed changes nothing.
    const std::string before = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    EXPECT_TRUE(Sync().m_Changes.empty());
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), before);
}

// A card's unfolded lines that start with one of names ("FN:", "BDAY"), sorted: a server may
// write a card's properties in another order.
std::vector<std::string> LinesOf(const std::string& card,
                                 std::initializer_list<const char*> names) {
    std::string unfolded;
    for (size_t i = 0; i < card.size(); ++i) {
        if (card[i] == '\r')
            continue;
        if (card[i] == '\n' && i + 1 < card.size() && (card[i + 1] == ' ' || card[i + 1] == '\t')) {
            ++i;
            continue;
        }
        unfolded += card[i];
    }
    std::vector<std::string> lines;
    std::istringstream in(unfolded);
    for (std::string line; std::getline(in, line);)
        for (const char* name : names)
            if (line.rfind(name, 0) == 0)
                lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Every line but the ones naming a property in names, as the server gives the card.
std::vector<std::string> LinesBut(const std::string& card, std::set<std::string> names) {
    std::vector<std::string> kept;
    for (const std::string& line : LinesOf(card, {""}))
        if (!names.count(line.substr(0, line.find_first_of(":;"))))
            kept.push_back(line);
    return kept;
}

TEST_P(BookSyncTest, ChangesMadeHereReachTheBook) {
    using tKind = tBookReconciler::tChange::tKind;
    ChangeLinks([](tBookLinks& links) { links.m_Books[0].m_NewPeopleGoHere = true; });
    std::vector<tDataFile::tAdded> added;
    ASSERT_TRUE(m_Data.AddEntries({{1, 1, "Old Timer", "m001", ""}}, added));
    // A picture of some length, folded as phones write it.
    std::string photo =
        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAASABIAAD/4QBMRXhpZgAATU0AKgAA";
    for (int i = 0; i < 4; ++i)
        photo += "\r\n AYdpAAQAAAABAAAAGgAAAAAAA6ABAAMAAAABAAEAAKACAAQAAAABAAAAMKADAAQAAAABAAAAMA";
    const QByteArray anna =
        Card("anna",
             "N:Berg;Anna;;;\r\nFN:Anna Berg\r\nORG:Berg & Co;\r\n"
             "item1.EMAIL;type=INTERNET;type=pref:anna@example.com\r\n"
             "item1.X-ABLabel:_$!<Other>!$_\r\nTEL;type=CELL:+46 70 123 45 67\r\n"
             "item2.ADR;type=HOME:;;Storgatan 1;Stockholm;;111 22;Sweden\r\n"
             "BDAY:1984-03-12\r\nX-GENDER:Female\r\n" +
                 photo +
                 "\r\nNOTE:Tulips\\, not roses\r\nURL:https://example.com/anna\r\n"
                 "NICKNAME:Annie\r\nTITLE:Engineer\r\nROLE:Lead\r\nCATEGORIES:Family,Friends\r\n"
                 "X-SOCIALPROFILE;type=twitter:https://twitter.com/annaberg\r\n"
                 "TZ:+01:00\r\nGEO:59.33;18.06\r\nLANG:sv\r\nX-ANDROID-CUSTOM:vnd.android/x;1\r\n"
                 "REV:2024-01-05T10:11:12Z\r\n");
    ASSERT_EQ(m_Server->Put("anna.vcf", anna) / 100, 2);
    const auto fileOf = [&](const std::string& name) {
        for (const auto& [file, card] : Cards())
            if (!LinesOf(card, {("FN:" + name).c_str()}).empty())
                return file;
        return std::string();
    };
    // The first person of a day changed here as the window does it: removed, and added anew.
    const auto change = [&](int month, int day, int toMonth, int toDay, const char* name) {
        const tDataFile::tEntry person = m_Data.ReadEntries(month, day).at(0);
        ASSERT_TRUE(m_Data.DeleteEntry(person));
        ASSERT_TRUE(m_Data.AddEntries({{toMonth, toDay, name, person.m_Picture, ""}}, added));
    };
    // When the phone changes a card between this sync's look at the book and its write.
    std::function<void()> meanwhile;
    int annaWrites = 0;
    QObject::connect(&m_Client, &tDavClient::Sending, [&](const QByteArray& verb, const QUrl& url) {
        if (verb != "PUT" || url.fileName() != "anna.vcf")
            return;
        ++annaWrites;
        if (meanwhile)
            std::exchange(meanwhile, nullptr)();
    });
    std::string before;
    struct tStep {
        const char* m_What;
        std::function<void()> m_Do;
        std::set<std::string> m_People;
        std::multiset<tKind> m_Kinds;
        std::function<void()> m_Check;
    };
    const std::vector<tStep> steps = {
        {"the first sync leaves who was there before at home",
         [&] {},
         {"Anna Berg 12-03 f", "Old Timer 01-01 m"},
         {tKind::kAdded},
         [&] {
             EXPECT_EQ(Cards().size(), 1u);
             before = Cards()["anna.vcf"];
         }},
        {"someone added here becomes a new card",
         [&] {
             ASSERT_TRUE(m_Data.AddEntries({{5, 5, "Nils Holm", "m002", ""}}, added));
         },
         {"Anna Berg 12-03 f", "Nils Holm 05-05 m", "Old Timer 01-01 m"},
         {tKind::kWritten},
         [&] {
             const std::string nils = Cards()[fileOf("Nils Holm")];
             EXPECT_EQ(LinesOf(nils, {"BDAY", "GENDER", "N:"}),
                       (std::vector<std::string>{"BDAY:--0505", "GENDER:M", "N:Holm;Nils;;;"}));
             EXPECT_EQ(Cards().size(), 2u);
         }},
        {"a rename here is written to the card, and only the name",
         [&] { change(3, 12, 3, 12, "Anna Lind"); },
         {"Anna Lind 12-03 f", "Nils Holm 05-05 m", "Old Timer 01-01 m"},
         {tKind::kWritten},
         [&] {
             const std::string now = Cards()["anna.vcf"];
             EXPECT_EQ(LinesBut(now, {"FN", "N"}), LinesBut(before, {"FN", "N"}));
             EXPECT_EQ(LinesOf(now, {"FN", "N:"}),
                       (std::vector<std::string>{"FN:Anna Lind", "N:Lind;Anna;;;"}));
             before = now;
         }},
        {"a birthday moved here keeps the card's year",
         [&] { change(3, 12, 4, 1, "Anna Lind"); },
         {"Anna Lind 01-04 f", "Nils Holm 05-05 m", "Old Timer 01-01 m"},
         {tKind::kWritten},
         [&] {
             const std::string now = Cards()["anna.vcf"];
             EXPECT_EQ(LinesBut(now, {"BDAY"}), LinesBut(before, {"BDAY"}));
             EXPECT_EQ(LinesOf(now, {"BDAY"}), std::vector<std::string>{"BDAY:1984-04-01"});
         }},
        {"changed on both sides: the book's version stays, the change here is told",
         [&] {
             QByteArray phone = Cards()["anna.vcf"].c_str();
             phone.replace("FN:Anna Lind", "FN:Anna Ek");
             ASSERT_EQ(m_Server->Put("anna.vcf", phone) / 100, 2);
             change(4, 1, 4, 1, "Anna Lindqvist");
         },
         {"Anna Ek 01-04 f", "Nils Holm 05-05 m", "Old Timer 01-01 m"},
         {tKind::kConflict, tKind::kChanged},
         [&] { EXPECT_FALSE(fileOf("Anna Ek").empty()); }},
        {"a card changed while it is written: neither change is lost",
         [&] {
             change(4, 1, 4, 1, "Anna Eklund");
             annaWrites = 0;
             meanwhile = [&] {
                 QByteArray phone = Cards()["anna.vcf"].c_str();
                 phone.replace("END:VCARD", "TEL;TYPE=WORK:+46 8 123 00 00\r\nEND:VCARD");
                 EXPECT_EQ(m_Server->Put("anna.vcf", phone) / 100, 2);
             };
         },
         {"Anna Eklund 01-04 f", "Nils Holm 05-05 m", "Old Timer 01-01 m"},
         {tKind::kWritten},
         [&] {
             const std::string now = Cards()["anna.vcf"];
             EXPECT_EQ(annaWrites, 2) << "refused once (412), written once";
             EXPECT_EQ(
                 LinesOf(now, {"FN", "TEL;TYPE=WORK"}),
                 (std::vector<std::string>{"FN:Anna Eklund", "TEL;TYPE=WORK:+46 8 123 00 00"}));
         }},
        {"removed here with the birthday: the card stays, without it",
         [&] {
             tDataFile::tEntry person = m_Data.ReadEntries(5, 5).at(0);
             ASSERT_TRUE(m_Data.DeleteEntry(person));
             ChangeLinks([](tBookLinks& links) {
                 for (auto& [href, contact] : links.m_Books[0].m_Contacts)
                     contact.m_DropBirthday = contact.m_Exact == "Nils Holm";
             });
         },
         {"Anna Eklund 01-04 f", "Old Timer 01-01 m"},
         {tKind::kWritten},
         [&] {
             const std::string nils = Cards()[fileOf("Nils Holm")];
             EXPECT_FALSE(nils.empty());
             EXPECT_TRUE(LinesOf(nils, {"BDAY"}).empty());
             EXPECT_EQ(Cards().size(), 2u);
         }},
    };
    for (const tStep& step : steps) {
        SCOPED_TRACE(step.m_What);
        step.m_Do();
        const tBookSync::tResult result = Sync();
        EXPECT_EQ(result.m_Failed, 0) << (result.m_Problems.empty() ? "" : result.m_Problems[0]);
        EXPECT_EQ(People(), step.m_People);
        std::multiset<tKind> kinds;
        for (const auto& change : result.m_Changes)
            kinds.insert(change.m_Kind);
        EXPECT_EQ(kinds, step.m_Kinds);
        step.m_Check();
        // Nothing is written twice, and nothing comes back.
        const std::map<std::string, std::string> cards = Cards();
        const tBookSync::tResult again = Sync();
        EXPECT_TRUE(again.m_Changes.empty());
        EXPECT_EQ(People(), step.m_People);
        EXPECT_EQ(Cards(), cards);
    }
}

// Two computers on one book, each with its own data folder, and a phone: random changes on all
// three and syncs in random order.  In the end both data files hold the book's birthdays,
// each once.
TEST_P(BookSyncTest, TwoComputersAndAPhoneAgreeInTheEnd) {
    struct tComputer {
        std::string m_Links;
        tDataFile m_Data;
        // Changed since this computer's last sync.  The data file keeps no identity: a person
        // renamed and then moved between two syncs is one removed and another added.
        std::set<std::string> m_Touched;
    };
    std::vector<std::unique_ptr<tComputer>> computers;
    for (const std::string folder : {"one", "two"}) {
        std::filesystem::create_directories(folder + "/Cal_Data");
        std::filesystem::copy_file("Cal_Data/DataFile.txt", folder + "/Cal_Data/DataFile.txt");
        auto computer = std::make_unique<tComputer>();
        computer->m_Links = folder + "/Cal_Data/AddressBooks.json";
        std::filesystem::copy_file(kLinks, computer->m_Links);
        ChangeLinks(computer->m_Links,
                    [](tBookLinks& links) { links.m_Books[0].m_NewPeopleGoHere = true; });
        computer->m_Data.SetFileName((m_Scratch / folder + "/Cal_Data/DataFile.txt").c_str());
        computers.push_back(std::move(computer));
    }
    const unsigned seed = testing::UnitTest::GetInstance()->random_seed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto pick = [&](int count) { return static_cast<int>(random() % unsigned(count)); };
    int names = 0;
    const auto date = [&] { return std::pair(1 + pick(12), 1 + pick(28)); };
    const auto bday = [](std::pair<int, int> day) {
        char text[16];
        std::snprintf(text, sizeof text, "BDAY:--%02d%02d", day.first, day.second);
        return std::string(text);
    };
    const auto sync = [&](tComputer& computer) {
        computer.m_Touched.clear();
        const tBookSync::tResult result = Sync(computer.m_Data, computer.m_Links);
        ASSERT_EQ(result.m_Failed, 0) << result.m_Problems.at(0);
    };
    for (auto& computer : computers)
        sync(*computer);

    const auto phone = [&] {
        const std::map<std::string, std::string> cards = Cards();
        const int what = cards.empty() ? 0 : pick(5);
        if (what == 0) {
            const std::string name = "Phone" + std::to_string(++names);
            ASSERT_EQ(m_Server->Put(QString::fromStdString(name) + ".vcf",
                                    Card(name, "FN:" + name + "\r\n" + bday(date()) + "\r\n" +
                                                   (pick(2) ? "GENDER:M\r\n" : "GENDER:F\r\n"))) /
                          100,
                      2);
            return;
        }
        auto card = cards.begin();
        std::advance(card, pick(static_cast<int>(cards.size())));
        const QString file = QString::fromStdString(card->first);
        if (what == 1) {
            ASSERT_EQ(m_Server->Delete(file) / 100, 2);
            return;
        }
        // Rename, move or take the birthday away, line by line.
        std::string changed;
        bool dated = false;
        for (std::string line : LinesOf(card->second, {""})) {
            if (line == "END:VCARD" && what == 3 && !dated)
                changed += bday(date()) + "\r\n";
            if (line.rfind("FN", 0) == 0 && what == 2)
                line = "FN:Renamed" + std::to_string(++names);
            if (line.rfind("BDAY", 0) == 0) {
                dated = true;
                if (what == 4)
                    continue;
                if (what == 3)
                    line = bday(date());
            }
            changed += line + "\r\n";
        }
        // LinesOf sorts: BEGIN and VERSION first again.
        changed = "BEGIN:VCARD\r\nVERSION:3.0\r\n" + changed;
        for (const char* line : {"\r\nBEGIN:VCARD", "\r\nVERSION:3.0"}) {
            const size_t twice = changed.find(line, 10);
            if (twice != std::string::npos)
                changed.erase(twice, std::strlen(line));
        }
        if (changed.find("END:VCARD") != changed.size() - 11) {
            changed.erase(changed.find("END:VCARD\r\n"), 11);
            changed += "END:VCARD\r\n";
        }
        ASSERT_EQ(m_Server->Put(file, QByteArray::fromStdString(changed)) / 100, 2) << changed;
    };
    const auto here = [&](tComputer& computer) {
        std::vector<tDataFile::tEntry> people = computer.m_Data.ReadAllEntries();
        std::erase_if(people, [&](const tDataFile::tEntry& person) {
            return computer.m_Touched.count(person.m_Name) > 0;
        });
        const int what = people.empty() ? 0 : pick(4);
        std::vector<tDataFile::tAdded> added;
        if (what == 0) {
            const auto [month, day] = date();
            ASSERT_TRUE(computer.m_Data.AddEntries(
                {{month, day, "Local" + std::to_string(++names), pick(2) ? "m001" : "f001", ""}},
                added));
            return;
        }
        const tDataFile::tEntry person = people[pick(static_cast<int>(people.size()))];
        ASSERT_TRUE(computer.m_Data.DeleteEntry(person));
        computer.m_Touched.insert(person.m_Name);
        if (what == 3) { // removed with its birthday, as the window offers
            // By name alone: the person may have been moved here since the last sync.
            ChangeLinks(computer.m_Links, [&](tBookLinks& links) {
                for (auto& [href, contact] : links.m_Books[0].m_Contacts)
                    if (contact.m_Name == person.m_Name)
                        contact.m_DropBirthday = true;
            });
            return;
        }
        tDataFile::tEntry now = person;
        if (what == 1)
            now.m_Name = "Local" + std::to_string(++names);
        else
            std::tie(now.m_Month, now.m_Day) = date();
        now.m_Exact.clear();
        computer.m_Touched.insert(now.m_Name);
        ASSERT_TRUE(computer.m_Data.AddEntries({now}, added));
    };
    for (int edit = 0; edit < 200 && !HasFatalFailure(); ++edit) {
        tComputer& computer = *computers[pick(2)];
        if (pick(3) == 0)
            phone();
        else
            here(computer);
        if (pick(3) == 0)
            sync(*computers[pick(2)]);
    }
    for (int round = 0; round < 2; ++round)
        for (auto& computer : computers)
            sync(*computer);

    std::set<std::string> book;
    for (const auto& [file, card] : Cards()) {
        const std::vector<std::string> name = LinesOf(card, {"FN:"});
        const std::vector<std::string> birthday = LinesOf(card, {"BDAY:--"});
        if (birthday.empty())
            continue;
        const std::string day = birthday[0].substr(7);
        EXPECT_TRUE(
            book.insert(name.at(0).substr(3) + " " + day.substr(2, 2) + "-" + day.substr(0, 2))
                .second)
            << "one person twice in the book: " << name[0];
    }
    for (auto& computer : computers) {
        std::set<std::string> people;
        for (const std::string& person : People(computer->m_Data))
            people.insert(person.substr(0, person.size() - 2)); // the picture's letter aside
        EXPECT_EQ(people, book) << computer->m_Links;
        EXPECT_EQ(computer->m_Data.ReadAllEntries().size(), people.size());
    }
}

// "zembrola --sync" killed at moments spread over its work, again and again: after each kill
// the data file and the links file read whole, and the sync that is let finish leaves every
// card once in the data file and every person added here once in the book.
TEST_P(BookSyncTest, ASyncKilledInTheMiddleIsFinishedByTheNext) {
    const char* program = std::getenv("ZEMBROLA_PROGRAM");
    ASSERT_NE(program, nullptr);
    ChangeLinks([](tBookLinks& links) { links.m_Books[0].m_NewPeopleGoHere = true; });
    constexpr int kCards = 300;
    for (int i = 0; i < kCards; ++i)
        ASSERT_EQ(m_Server->Put(QStringLiteral("c%1.vcf").arg(i),
                                Card("c" + std::to_string(i),
                                     "FN:Card " + std::to_string(i) + "\r\nBDAY:--" +
                                         (i % 12 < 9 ? "0" : "") + std::to_string(i % 12 + 1) +
                                         (i % 28 < 9 ? "0" : "") + std::to_string(i % 28 + 1) +
                                         "\r\nGENDER:F\r\n")) /
                      100,
                  2);
    const auto killedSync = [&](int afterMs) {
        QProcess sync;
        sync.setWorkingDirectory(QString::fromStdString(m_Scratch.Path()));
        sync.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sync.start(program, {"--sync"});
        ASSERT_TRUE(sync.waitForStarted(5000));
        if (!sync.waitForFinished(afterMs)) {
            sync.kill();
            sync.waitForFinished(5000);
        }
        tBookLinks links;
        EXPECT_TRUE(links.Load(kLinks)) << "the links file after a kill at " << afterMs << " ms";
        tDataFile data;
        data.SetFileName("Cal_Data\\DataFile.txt");
        EXPECT_TRUE(data.ReadAllEntries().size() <= size_t(kCards) + 40);
        EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt").find("[settings]") ==
                      std::string::npos,
                  false)
            << "the data file after a kill at " << afterMs << " ms";
    };
    const auto finished = [&] {
        const tBookSync::tResult result = Sync();
        EXPECT_EQ(result.m_Failed, 0) << (result.m_Problems.empty() ? "" : result.m_Problems[0]);
        EXPECT_TRUE(Sync().m_Changes.empty()) << "the second sync finds nothing left to do";
    };
    for (int ms : {60, 120, 180, 240, 300, 400, 550, 700, 900, 1200})
        killedSync(ms);
    finished();
    EXPECT_EQ(People().size(), size_t(kCards));

    // People added here, written to the book by syncs that are killed too.
    std::vector<tDataFile::tAdded> added;
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(m_Data.AddEntries(
            {{1 + i % 12, 1 + i % 28, "Here " + std::to_string(i), "m001", ""}}, added));
    for (int ms : {60, 120, 180, 240, 300, 400, 600})
        killedSync(ms);
    finished();
    EXPECT_EQ(People().size(), size_t(kCards) + 40);
    std::multiset<std::string> names;
    for (const auto& [file, card] : Cards())
        for (const std::string& line : LinesOf(card, {"FN:"}))
            names.insert(line);
    EXPECT_EQ(names.size(), size_t(kCards) + 40);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size())
        << "a card written twice";
}

TEST_P(BookSyncTest, AFailedSyncChangesNothing) {
    ASSERT_EQ(
        m_Server->Put("anna.vcf", Card("anna", "FN:Anna\r\nBDAY:--0101\r\nGENDER:F\r\n")) / 100, 2);
    tBookLinks links;
    ASSERT_TRUE(links.Load(kLinks));
    if (GetParam() == tDavServer::kRadicale)
        std::ofstream(links.m_Books[0].m_PasswordFile.toStdString()) << "wrong";
    else
        links.m_Books[0].m_Url = m_Server->Root().resolved(QUrl("/nobody/nothing/")).toString();
    ASSERT_EQ(links.Save(kLinks), tFileFault::None);
    const std::string data = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    const tBookSync::tResult result = Sync();
    EXPECT_EQ(result.m_Failed, 1);
    ASSERT_EQ(result.m_Problems.size(), 1u);
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), data);
    ASSERT_TRUE(links.Load(kLinks));
    EXPECT_FALSE(links.m_Books[0].m_Problem.isEmpty());
    EXPECT_TRUE(links.m_Books[0].m_Contacts.empty());
}

// The server dies while the cards are read: nothing changes here, the book says why, and once
// the server is back the next sync brings every card, once.
TEST_P(BookSyncTest, AServerThatDiesInTheMiddleLeavesBothFilesAsTheyWere) {
    constexpr int kCards = 250; // two requests for cards
    for (int i = 0; i < kCards; ++i)
        ASSERT_EQ(m_Server->Put(QStringLiteral("c%1.vcf").arg(i),
                                Card("c" + std::to_string(i),
                                     "FN:Card " + std::to_string(i) + "\r\nBDAY:--0" +
                                         std::to_string(i % 9 + 1) + "1" + std::to_string(i % 9) +
                                         "\r\nGENDER:M\r\n")) /
                      100,
                  2);
    const std::string data = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    int reports = 0;
    const QMetaObject::Connection dies =
        QObject::connect(&m_Client, &tDavClient::Sending, [&](const QByteArray& verb, const QUrl&) {
            if (verb == "REPORT" && ++reports == 3) // the second request for cards
                m_Server->Kill();
        });
    const tBookSync::tResult cut = Sync();
    QObject::disconnect(dies);
    EXPECT_EQ(cut.m_Failed, 1);
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), data);
    tBookLinks links;
    ASSERT_TRUE(links.Load(kLinks));
    EXPECT_TRUE(links.m_Books[0].m_Contacts.empty());
    EXPECT_TRUE(links.m_Books[0].m_SyncToken.isEmpty());
    EXPECT_FALSE(links.m_Books[0].m_Problem.isEmpty());

    ASSERT_TRUE(m_Server->Restart()) << m_Server->Problem().toStdString();
    const tBookSync::tResult whole = Sync();
    EXPECT_EQ(whole.m_Failed, 0) << (whole.m_Problems.empty() ? "" : whole.m_Problems[0]);
    EXPECT_EQ(People().size(), static_cast<size_t>(kCards));
    EXPECT_EQ(whole.m_Changes.size(), static_cast<size_t>(kCards));
}

INSTANTIATE_TEST_SUITE_P(Servers, BookSyncTest,
                         testing::Values(tDavServer::kRadicale, tDavServer::kXandikos),
                         [](const auto& info) {
                             return info.param == tDavServer::kRadicale ? "Radicale" : "Xandikos";
                         });

} // namespace
