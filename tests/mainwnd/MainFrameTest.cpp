// The calendar window as built, and its behaviour.
#include "controls/tCheckButton.h"
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tGenderButton.h"
#include "controls/tHideButton.h"
#include "controls/tMonthButton.h"
#include "controls/tOkButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tPictureStepButton.h"
#include "controls/tWeekdayHeader.h"
#include "layout/tLayoutDeck.h"
#include "layout/tTitleBar.h"
#include "mainwnd/tBookAddDialog.h"
#include "mainwnd/tBooksDialog.h"
#include "mainwnd/tFindField.h"
#include "mainwnd/tHelpWindow.h"
#include "mainwnd/tImportDialog.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "support/tAnyError.h"
#include "support/tLanguageString.h"
#include "tests/support/AppTestSupport.h"
#include "tests/support/DavServer.h"
#include "tests/support/SecretStore.h"

#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <cerrno>

using namespace TestSupport;

namespace {

class MainFrameTest : public tFrameTest {
protected:
    std::string Captions() {
        std::string text;
        for (int i = 1; i <= 12; ++i)
            text += Calendar().m_MonthButtons[i]->GetWindowText();
        text += " ";
        for (int i = 1; i <= 7; ++i)
            text += Calendar().m_WeekdayHeaders[i]->GetWindowText();
        return text;
    }
    bool PageShown(int page) { return m_Frame->m_Deck->GetChild(page)->IsVisible(); }
    // A Xandikos address book the data folder subscribes to; its Problem() says why not.
    std::unique_ptr<TestSupport::tDavServer> SubscribedBook() {
        std::filesystem::create_directory("server");
        auto server = std::make_unique<TestSupport::tDavServer>(TestSupport::tDavServer::kXandikos,
                                                                m_Scratch->Path() + "/server");
        WriteFile("Cal_Data/AddressBooks.json",
                  R"({"books": [{"url": ")" + server->Book().toString().toStdString() + R"("}]})");
        return server;
    }
    // The sync that ended lets go of its work at the next turns of the loop.
    void Idle() {
        for (int turns = 0; m_Frame->m_BookSync.Running() && turns < 1000; ++turns)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

TEST_F(MainFrameTest, BuiltWithTheDefaultsOfADataFileWithoutSettings) {
    CreateFrame();
    EXPECT_EQ(Captions(), "JFMAMJJASOND SMTWTFS");
    EXPECT_EQ(m_Frame->windowTitle(), "Zembrola");
    EXPECT_FALSE(m_Frame->m_InTaskbar) << "no task-bar entry";
    EXPECT_TRUE(Calendar().m_NotifyAdvance && Calendar().m_AlarmCheckBox->m_Checked);
    EXPECT_EQ(Calendar().m_DaysNumberLabel->GetWindowText() + " " +
                  Calendar().m_DaysUnitLabel->GetWindowText(),
              "3 days");
    EXPECT_EQ(m_Frame->pos(), QPoint(100, 100));
    m_Frame->Measure();
    EXPECT_EQ(m_Frame->size(), QSize(m_Frame->m_MeasuredSize[0], m_Frame->m_MeasuredSize[1]))
        << "the size of its content";
    // The first page, nobody selected, the default picture, the name read-only, the scan armed.
    EXPECT_TRUE(PageShown(0) && !PageShown(1) && !PageShown(2));
    EXPECT_EQ(Calendar().m_SelectedDay, -1);
    tDib reference;
    reference.Load("Cal_Data\\DefImage.bmp");
    EXPECT_EQ(Calendar().m_PictureView->m_Picture.GetPixelColour(90, 90),
              reference.GetPixelColour(90, 90));
    EXPECT_TRUE(Calendar().m_NameEdit->isReadOnly());
    EXPECT_TRUE(App().m_AlarmsArmed);
}

TEST_F(MainFrameTest, StoredSettingsAreApplied) {
    CreateFrame("[settings]\nnotify_advance=2\nnotify_days=9\nwp.NormPos.l=300\nwp.NormPos.t=40\n"
                "language=3\n");
    EXPECT_FALSE(Calendar().m_NotifyAdvance) << "2 reads as off";
    EXPECT_EQ(Calendar().m_NotifyDays, 9);
    EXPECT_EQ(m_Frame->pos(), QPoint(300, 40));
    EXPECT_EQ(Captions(), "jfmamjjasond dlmmjvs");
}

TEST_F(MainFrameTest, TheWholeRoadOfANewBirthday) {
    CreateFrame("[20-06]\nAnna=f002\n");
    QApplication::setDoubleClickInterval(500);
    tDayCell* cell = Calendar().m_DayCells[20 + Calendar().m_FirstWeekday];
    for (uint32_t tick : {1000u, 1200u}) {
        Clock::SetTickCount(tick);
        QTest::mouseClick(cell, Qt::LeftButton);
    }
    EXPECT_TRUE(m_Frame->m_Mode == tMainFrame::kModeGender && PageShown(1));
    QTest::keyClicks(Calendar().m_NameEdit, "Bert Smith");
    QTest::mouseClick(Controls<tGenderButton>(m_Frame.get(), 1).front(), Qt::LeftButton);
    EXPECT_TRUE(m_Frame->m_Mode == tMainFrame::kModePicture && PageShown(2));
    for (uint32_t tick : {5000u, 5100u}) {
        Clock::SetTickCount(tick);
        QTest::mouseClick(Controls<tPictureStepButton>(m_Frame.get(), 1).front(), Qt::LeftButton);
    }
    QTest::mouseClick(Controls<tOkButton>(m_Frame.get()).front(), Qt::LeftButton);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\nBert Smith=m002\n");
    EXPECT_EQ(cell->m_Kind, tDayCell::kBirthday);
    // The saved person is shown, with the day's two people to step through.
    EXPECT_EQ(Calendar().m_NameEdit->GetWindowText(), "Bert Smith");
    EXPECT_EQ(Calendar().m_PersonIndex, 1);
    EXPECT_TRUE(Calendar().m_NextPersonButton->isEnabled());
}

TEST_F(MainFrameTest, ClosingSavesThePlacementTheSwitchAndTheDays) {
    CreateFrame("[settings]\nnotify_advance=2\n");
    Calendar().SetNotifyDays(6);
    m_Frame->move(150, 120);
    m_Frame->hide(); // the placement of the hidden window is saved all the same
    m_Frame->close();
    const std::string file = DataFile();
    for (const std::string line : {"notify_advance=0\n", "notify_days=6\n", "wp.ShowCmd=1\n",
                                   "wp.NormPos.l=150\nwp.NormPos.t=120\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_NE(file.find("wp.NormPos.r=" + std::to_string(150 + m_Frame->width())),
              std::string::npos);
}

TEST_F(MainFrameTest, PlacementsAtTheLimitsOfTheNumbersLandOnTheScreen) {
    for (const char* value : {"-2147483648", "2147483647"}) {
        SCOPED_TRACE(value);
        std::string settings = "[settings]\n";
        for (const char* key : {"wp.MinPos.x", "wp.MinPos.y", "wp.MaxPos.x", "wp.MaxPos.y",
                                "wp.NormPos.l", "wp.NormPos.t", "wp.NormPos.r", "wp.NormPos.b",
                                "wp.ShowCmd", "wp.Flags", "notify_days"})
            settings += std::string(key) + "=" + value + "\n";
        CreateFrame(settings);
        EXPECT_TRUE(
            QGuiApplication::primaryScreen()->availableGeometry().intersects(m_Frame->geometry()));
        EXPECT_EQ(Calendar().m_NotifyDays, value[0] == '-' ? 1 : 14);
        TearDown();
    }
}

TEST_F(MainFrameTest, ADataFileThatCannotBeReadIsSaidAtStartAndNeverWritten) {
    InjectReadError(EIO);
    CreateFrame("[20-06]\nAnna=f002\n");
    const std::string file = m_Scratch->Path() + "/Cal_Data/DataFile.txt";
    EXPECT_EQ(Recorder().m_Messages,
              std::vector<std::string>{file + " cannot be read. Zembrola writes nothing to it "
                                              "until it can, so that no birthday is lost."});
    App().OnIdle(0); // the alarm scan would write the date of its last run
    m_Frame->close();
    InjectReadError(0);
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\n");
    EXPECT_EQ(Recorder().m_Messages.back(),
              "Your settings could not be saved.\n" + file +
                  " cannot be read. Zembrola writes nothing to it until it can, so that no "
                  "birthday is lost.");
}

// Asked to end (SIGTERM) while a message at start waits for the user: the settings stay as
// they were, and the program ends instead of running on with no way out.
TEST_F(MainFrameTest, AnEndDuringAStartMessageKeepsTheSettings) {
    const std::string settings = "[settings]\nnotify_advance=0\nnotify_days=9\nwp.NormPos.l=321\n";
    tMainFrame* frame = nullptr;
    SetMessageBoxHandler([&frame](const std::string&) {
        if (frame)
            frame->OnClose();
    });
    for (const std::string& data : {settings + "language=99\n", settings}) {
        SCOPED_TRACE(data);
        const bool unreadable = data == settings;
        if (unreadable)
            InjectReadError(EIO);
        m_Scratch = std::make_unique<tScratch>(tScratch::tContent::InstallationData);
        WriteFile("Cal_Data/DataFile.txt", data);
        m_Frame = std::make_unique<tMainFrame>();
        frame = m_Frame.get();
        App().m_pMainWnd = frame;
        try {
            m_Frame->Create("Zembrola");
            App().ReportFatalError();
        } catch (const tAnyError& error) {
            App().m_FatalError = error.m_Text;
            App().ReportFatalError(); // the bad language: said by the application
            App().m_FatalError.reset();
        }
        InjectReadError(0);
        EXPECT_TRUE(m_Frame->IsClosing()) << "the main loop must not start";
        EXPECT_EQ(DataFile(), data);
        frame = nullptr;
        TearDown();
    }
    InstallRecorder();
}

// A text missing from the language file stops the program only where that text is shown: the
// names screen readers say fall back to English.
TEST_F(MainFrameTest, AMissingMonthNameStopsNoStart) {
    for (int month = 1; month <= 12; ++month) {
        const std::string key = tCalendar::GetMonthName(month);
        if (key == tCalendar::GetMonthShortName(month))
            continue; // "may" is also the button's caption: shown, so needed
        SCOPED_TRACE(key);
        m_Scratch = std::make_unique<tScratch>(tScratch::tContent::InstallationData);
        std::string language = ReadFile("Cal_Data/Language.txt");
        const size_t line = language.find("\n" + key + "=");
        ASSERT_NE(line, std::string::npos);
        language.erase(line + 1, language.find('\n', line + 1) - line);
        WriteFile("Cal_Data/Language.txt", language);
        m_Frame = std::make_unique<tMainFrame>();
        App().m_pMainWnd = m_Frame.get();
        EXPECT_NO_THROW(m_Frame->Create("Zembrola"));
        EXPECT_NO_THROW(Calendar().SelectMonth(month));
        std::string english = key;
        english[0] = static_cast<char>(std::toupper(english[0]));
        EXPECT_EQ(Calendar().m_MonthButtons[month]->accessibleName().toStdString(), english);
        TearDown();
    }
}

// Texts are kept in memory while the program runs; a language file changed meanwhile (a
// translator at work) shows at the next turn of the event loop.
TEST_F(MainFrameTest, AChangedLanguageFileShowsAtTheNextTurnOfTheLoop) {
    CreateFrame("");
    const std::string before = g_LanguageString.GetString("title");
    ASSERT_EQ(g_LanguageString.GetString("title"), before);
    std::string language = ReadFile("Cal_Data/Language.txt");
    const size_t at = language.find("\ntitle=" + before);
    ASSERT_NE(at, std::string::npos);
    language.insert(at + 7, "New ");
    WriteFile("Cal_Data/Language.txt", language);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_LanguageString.GetString("title"), "New " + before);
}

// A card a phone adds to a subscribed address book shows in the running window after a sync,
// on its day, with the tray's tip told; one that states no gender waits, and the tip says so.
TEST_F(MainFrameTest, APhonesNewCardShowsAfterASync) {
    CreateFrame(); // 14 June
    const std::unique_ptr<TestSupport::tDavServer> book = SubscribedBook();
    TestSupport::tDavServer& server = *book;
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    ASSERT_EQ(server.Put("ida.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ida\r\nFN:Ida Holm\r\n"
                                    "BDAY:1986-06-16\r\nGENDER:F\r\nEND:VCARD\r\n") /
                  100,
              2);
    ASSERT_EQ(server.Put("kim.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kim\r\nFN:Kim Ek\r\n"
                                    "BDAY:--0617\r\nEND:VCARD\r\n") /
                  100,
              2);
    const int cell = 16 + Calendar().m_FirstWeekday;
    ASSERT_EQ(Calendar().m_DayCells[cell]->m_Kind, tDayCell::kDay);
    QSignalSpy synced(&m_Frame->m_BookSync, &tBookSyncTimer::Synced);
    QSignalSpy people(&Calendar().m_Events, &tCalendarEvents::PeopleChanged);
    ASSERT_TRUE(m_Frame->m_BookSync.SyncNow());
    ASSERT_TRUE(synced.wait(20000));
    EXPECT_EQ(synced.front().at(0).toBool(), true);
    EXPECT_EQ(Calendar().m_DayCells[cell]->m_Kind, tDayCell::kBirthday);
    EXPECT_EQ(people.size(), 1);
    EXPECT_EQ(
        std::string(m_Frame->m_TrayIcon.m_Data.szTip),
        "Zembrola \x96 Birthdays\nIda Holm turns 40: in 2 days\n1 contacts wait for a gender.")
        << "Kim's card states no gender: Kim waits, and the tip says so";
}

TEST_F(MainFrameTest, RemovingASyncedPersonAsksWhetherTheCardLosesTheBirthday) {
    CreateFrame(); // 14 June
    const std::unique_ptr<TestSupport::tDavServer> book = SubscribedBook();
    TestSupport::tDavServer& server = *book;
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    for (const char* who : {"ida", "kim"})
        ASSERT_EQ(server.Put(QString(who) + ".vcf",
                             QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + who +
                                 "\r\nFN:" + (who[0] == 'i' ? "Ida Holm" : "Kim Ek") +
                                 "\r\nBDAY:--0616\r\nGENDER:F\r\nTEL:123\r\nEND:VCARD\r\n") /
                      100,
                  2);
    QSignalSpy synced(&m_Frame->m_BookSync, &tBookSyncTimer::Synced);
    ASSERT_TRUE(m_Frame->m_BookSync.SyncNow());
    ASSERT_TRUE(synced.wait(20000));
    Calendar().SelectDay(16);
    ASSERT_EQ(Calendar().m_PeopleCount, 2);
    const auto card = [&](const char* who) {
        QByteArray text;
        server.Request("GET", server.Book().resolved(QUrl(QString(who) + ".vcf")), {}, {}, &text);
        return text.toStdString();
    };

    // "Keep it there": the first shown stays out of Zembrola alone.
    const std::string first = Calendar().m_Name;
    Recorder().Clear();
    SetQuestionHandler([n = 0](const std::string& text) mutable {
        Recorder().m_Questions.push_back(text);
        return n++ == 0; // yes, delete; no, keep the card's birthday
    });
    ASSERT_TRUE(Calendar().DeletePerson());
    ASSERT_EQ(Recorder().m_Questions.size(), 2u);
    EXPECT_EQ(Recorder().m_Questions[1],
              first + " is also in the address book addressbook (127.0.0.1). Remove the birthday "
                      "from the contact there as well? The contact itself stays.");
    Idle();
    ASSERT_TRUE(m_Frame->m_BookSync.SyncNow());
    ASSERT_TRUE(synced.wait(20000));
    // "Remove it there too": the other's card loses BDAY and nothing else.
    SetQuestionHandler([](const std::string& text) {
        Recorder().m_Questions.push_back(text);
        return true;
    });
    Idle();
    ASSERT_TRUE(Calendar().DeletePerson());
    ASSERT_TRUE(synced.wait(20000));
    const bool idaFirst = first == "Ida Holm";
    const std::string kept = card(idaFirst ? "ida" : "kim");
    const std::string dropped = card(idaFirst ? "kim" : "ida");
    EXPECT_NE(kept.find("BDAY:--0616"), std::string::npos) << kept;
    EXPECT_EQ(dropped.find("BDAY"), std::string::npos) << dropped;
    EXPECT_NE(dropped.find("TEL:123"), std::string::npos) << dropped;
    EXPECT_EQ(Calendar().m_PeopleCount, 0);
    // And neither comes back.
    Idle();
    ASSERT_TRUE(m_Frame->m_BookSync.SyncNow());
    ASSERT_TRUE(synced.wait(20000));
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt").find("[16-06]"), std::string::npos);
}

// The Address books dialog: the book and its state, a gender chosen for the card that waits,
// a new book behind https with a password, and the end of a subscription.
TEST_F(MainFrameTest, TheAddressBooksDialogSubscribesChoosesAndEnds) {
    CreateFrame(); // 14 June
    const std::unique_ptr<TestSupport::tDavServer> book = SubscribedBook();
    TestSupport::tDavServer& server = *book;
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    std::filesystem::create_directory("store");
    // The desktop's secret store, for this process: before anything asks for it.
    TestSupport::tSecretStore store(m_Scratch->Path() + "/store");
    if (!store.Problem().isEmpty())
        GTEST_SKIP() << store.Problem().toStdString();
    for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP"})
        qputenv(name, store.Environment().value(name).toUtf8());
    ASSERT_EQ(server.Put("kim.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kim\r\nFN:Kim Ek\r\n"
                                    "BDAY:--0617\r\nEND:VCARD\r\n") /
                  100,
              2);
    QSignalSpy synced(&m_Frame->m_BookSync, &tBookSyncTimer::Synced);
    ASSERT_TRUE(m_Frame->m_BookSync.SyncNow());
    ASSERT_TRUE(synced.wait(20000));
    Idle();

    m_Frame->OnBooks();
    ASSERT_NE(m_Frame->m_BooksDialog, nullptr);
    tBooksDialog& dialog = *m_Frame->m_BooksDialog;
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Address books");
    ASSERT_EQ(dialog.m_Books->rowCount(), 1);
    EXPECT_EQ(dialog.m_Books->item(0, tBooksDialog::kColumnBook)->text(), "addressbook (127.0.0.1)")
        << "a book without a name: the last part of its path, and its server";
    EXPECT_EQ(dialog.m_Books->item(0, tBooksDialog::kColumnState)->text(), "in step");
    ASSERT_EQ(dialog.m_Waiting->rowCount(), 1);
    EXPECT_EQ(dialog.m_Waiting->item(0, tBooksDialog::kWaitingName)->text(), "Kim Ek");
    EXPECT_EQ(dialog.m_Waiting->item(0, tBooksDialog::kWaitingDate)->text(), "June 17");

    // Female for Kim: she comes at once, with a woman's picture.
    auto* choice =
        qobject_cast<QComboBox*>(dialog.m_Waiting->cellWidget(0, tBooksDialog::kWaitingGender));
    ASSERT_NE(choice, nullptr);
    choice->setCurrentIndex(2);
    Q_EMIT choice->activated(2);
    ASSERT_TRUE(synced.wait(20000));
    Idle();
    const std::vector<tDataFile::tEntry> kim = Calendar().m_DataFile.ReadEntries(6, 17);
    ASSERT_EQ(kim.size(), 1u);
    EXPECT_EQ(kim[0].m_Name, "Kim Ek");
    EXPECT_EQ(kim[0].m_Picture[0], 'f');
    EXPECT_EQ(dialog.m_Waiting->rowCount(), 0);
    EXPECT_TRUE(dialog.m_Waiting->isHidden());

    // A second book, behind https with a certificate of its own, and a password.
    std::filesystem::create_directory("tls");
    TestSupport::tDavServer secure(TestSupport::tDavServer::kRadicale, m_Scratch->Path() + "/tls",
                                   /*tls=*/true);
    ASSERT_TRUE(secure.Problem().isEmpty()) << secure.Problem().toStdString();
    tBookAddDialog add(m_Frame->m_BookSync, &dialog);
    EXPECT_FALSE(add.m_SubscribeButton->isEnabled()) << "nothing typed yet";
    add.m_Address->setText(secure.Root().toString());
    add.m_User->setText(secure.User());
    add.m_Password->setText(secure.Password());
    add.m_Write->setChecked(true);
    std::vector<std::string> asked;
    SetQuestionHandler([&](const std::string& text) {
        asked.push_back(text);
        return true;
    });
    QSignalSpy accepted(&add, &QDialog::accepted);
    add.m_SubscribeButton->click();
    ASSERT_TRUE(accepted.wait(20000)) << add.m_Status->text().toStdString();
    ASSERT_EQ(asked.size(), 1u) << "the certificate, once";
    EXPECT_NE(asked[0].find("No authority vouches for the certificate of 127.0.0.1."),
              std::string::npos);
    EXPECT_NE(asked[0].find("\n\n" + secure.Fingerprint().toStdString()), std::string::npos)
        << asked[0];
    ASSERT_TRUE(synced.wait(20000));
    Idle();
    ASSERT_EQ(dialog.m_Books->rowCount(), 2);
    EXPECT_EQ(dialog.m_Books->item(1, tBooksDialog::kColumnBook)->text(), "Contacts (127.0.0.1)");
    EXPECT_EQ(dialog.m_Books->item(1, tBooksDialog::kColumnState)->text(), "in step");
    const std::string links = TestSupport::ReadFile("Cal_Data/AddressBooks.json");
    EXPECT_EQ(links.find(secure.Password().toStdString()), std::string::npos) << "in the store";
    EXPECT_NE(links.find(secure.Fingerprint().toStdString()), std::string::npos);
    auto* newPeople =
        dialog.m_Books->cellWidget(1, tBooksDialog::kColumnNewPeople)->findChild<QRadioButton*>();
    ASSERT_NE(newPeople, nullptr);
    EXPECT_TRUE(newPeople->isChecked());

    // The first ends; its people stay.
    dialog.m_Books->selectRow(0);
    ASSERT_TRUE(dialog.m_Remove->isEnabled());
    dialog.m_Remove->click();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "End the subscription to addressbook (127.0.0.1)? Its people stay in the "
                        "calendar.");
    ASSERT_EQ(dialog.m_Books->rowCount(), 1);
    EXPECT_EQ(dialog.m_Books->item(0, tBooksDialog::kColumnBook)->text(), "Contacts (127.0.0.1)");
    EXPECT_EQ(Calendar().m_DataFile.ReadEntries(6, 17).size(), 1u);
}

TEST_F(MainFrameTest, HelpOpensTheDocumentOfTheLanguage) {
    CreateFrame("[settings]\nlanguage=4\n");
    m_Frame->OnHelpInfo();
    EXPECT_EQ(Recorder().m_ShellOpened, std::vector<std::string>{"Cal_Data\\Ger.rtf"});
    EXPECT_EQ(m_Frame->findChild<QShortcut*>()->key(), QKeySequence(Qt::Key_F1));
    // Without a program for it, the same help in a window of the program's own.
    SetShellHandler([](const std::string&) { return false; });
    m_Frame->OnHelpInfo();
    const QList<QTextBrowser*> shown = [] {
        QList<QTextBrowser*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<QTextBrowser*>(window);
                browser && browser->isVisible())
                found.push_back(browser);
        return found;
    }();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front()->windowTitle(), "Zembrola-Hilfe");
    EXPECT_TRUE(shown.front()->toPlainText().startsWith("Zembrola-Hilfe"))
        << shown.front()->toPlainText().left(80).toStdString();
    EXPECT_TRUE(Recorder().m_Messages.empty());
    // Without the document either, the user is told which file it was.
    std::remove("Cal_Data/Ger.rtf");
    m_Frame->OnHelpInfo();
    InstallRecorder();
    ASSERT_FALSE(Recorder().m_Messages.empty());
    EXPECT_EQ(Recorder().m_Messages.back(),
              "Es ist kein Programm installiert, das die Hilfedatei " + m_Scratch->Path() +
                  "/Cal_Data/Ger.rtf \xF6"
                  "ffnen kann.");
}

// The help documents' RTF, read back for the program's own help window.
TEST(HelpWindowTest, TheHelpDocumentsReadAsHeadingsAndParagraphs) {
    const struct {
        const char* m_Name;
        const char* m_Rtf;
        const char* m_Html;
    } rows[] = {
        {"title, heading, paragraph",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red1\\green2\\blue3;}\n"
         "\\pard\\b\\fs36 Help\\b0\\fs22\\par\n\\pard\\fs26 Part\\fs22\\par\n\\pard Text\\par}",
         "<h1><b>Help</b></h1>\n<h2>Part</h2>\n<p>Text</p>\n"},
        {"bullets, bold keys, the code page, marks",
         "{\\rtf1\\pard\\'95\\tab Press \\b <\\b0  & \\'e9\\par}",
         "<ul>\n<li>Press <b>&lt;</b> &amp; \u00e9</li>\n</ul>\n"},
        {"escaped braces and a cut-off end", "{\\rtf1\\pard a\\{b\\}\\", "<p>a{b}</p>\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        EXPECT_EQ(tHelpWindow::RtfToHtml(row.m_Rtf).toStdString(), row.m_Html);
    }
}

TEST_F(MainFrameTest, TheHideButtonOnlyHides) {
    CreateFrame();
    // A new entry begun and left: hidden, it is given up, nothing written.
    Calendar().OnDayDoubleClicked(Calendar().m_FirstWeekday + 20);
    ASSERT_EQ(m_Frame->m_Mode, tMainFrame::kModeGender);
    QTest::mouseClick(Controls<tHideButton>(m_Frame.get()).front(), Qt::LeftButton);
    EXPECT_FALSE(m_Frame->isVisible());
    EXPECT_EQ(DataFile(), "");
    SendMessage(m_Frame.get(), WM_COMMAND, tMainFrame::kCommandShow, 0);
    EXPECT_TRUE(m_Frame->isVisible());
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
}

// GNOME has no tray: the window keeps a task-bar entry and is never lost.
TEST_F(MainFrameTest, WithoutATrayTheWindowMinimisesAndTheTitleBarHasTheMenu) {
    Recorder().m_TrayAccepts = false;
    CreateFrame();
    m_Frame->show();
    EXPECT_TRUE(m_Frame->m_InTaskbar) << "a task-bar entry";
    QTest::mouseClick(Controls<tHideButton>(m_Frame.get()).front(), Qt::LeftButton);
    EXPECT_TRUE(m_Frame->isMinimized());
    for (QWidget* child : m_Frame->findChildren<QWidget*>())
        if (dynamic_cast<tTitleBar*>(child))
            QTest::mouseClick(child, Qt::RightButton);
    EXPECT_EQ(Recorder().m_Menus,
              (std::vector<std::vector<std::string>>{
                  {"*Show", "Hide", "Exit", "", "Import contacts\x85", "Export calendar\x85",
                   "Find\x85", "Address books\x85", "Remind me at"}}));
    // "Remind me at" lists the hours, the stored one checked, and stores the one chosen.
    const QMenu* hours = nullptr;
    SetMenuHandler([&hours](QMenu* menu, QPoint) {
        hours = menu->actions().back()->menu();
        EXPECT_TRUE(hours && hours->actions().size() == 24 && hours->actions()[6]->isChecked());
        return static_cast<unsigned>(hours ? hours->actions()[20]->data().toUInt() : 0);
    });
    m_Frame->ShowWindowMenu(QPoint());
    InstallRecorder();
    EXPECT_NE(DataFile().find("alarm_hour=20\n"), std::string::npos) << DataFile();
    EXPECT_EQ(Calendar().m_DataFile.ReadAlarmHour(), 20);
    // A tray that comes later takes the window back.
    Recorder().m_TrayAccepts = true;
    m_Frame->FollowTray();
    EXPECT_EQ(!m_Frame->m_InTaskbar, QSystemTrayIcon::isSystemTrayAvailable());
}

// However far the mouse drags, the title bar stays where it can be grabbed again.
TEST_F(MainFrameTest, ADragKeepsTheTitleBarOnTheScreen) {
    CreateFrame();
    m_Frame->show();
    tTitleBar* bar = nullptr;
    for (QWidget* child : m_Frame->findChildren<QWidget*>())
        if (auto* found = dynamic_cast<tTitleBar*>(child))
            bar = found;
    ASSERT_TRUE(bar);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint far : {QPoint(-5000, -5000), QPoint(9000, 9000), QPoint(60, 40)}) {
        SCOPED_TRACE(far.x());
        const QPoint start = bar->mapToGlobal(QPoint(20, 5));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 5), QPointF(start), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(bar->mapFromGlobal(far)), QPointF(far),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(bar->mapFromGlobal(far)),
                            QPointF(far), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
        const QRect onScreen(bar->mapTo(m_Frame.get(), QPoint(0, 0)) + m_Frame->pos(), bar->size());
        EXPECT_GE(onScreen.top(), room.top());
        EXPECT_LE(onScreen.bottom(), room.bottom());
        EXPECT_GE(onScreen.intersected(room).width(), 40);
    }
}

} // namespace

namespace {

// Answers the next modal dialog once it is open.
template <class Answer>
void WhenModalOpens(Answer answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(modal);
        }
    });
    poll->start(1);
}

// A message opens over the calendar, not in the middle of the screen, and is wide enough for
// its title even when the message is short.
TEST_F(MainFrameTest, AMessageOpensOverTheCalendarWithRoomForItsTitle) {
    CreateFrame();
    m_Frame->move(40, 30);
    m_Frame->show();
    m_Frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Frame.get()));
    const QString name = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName("Zembrola \u2013 Birthdays");
    SetMessageBoxHandler({});
    SetQuestionHandler({});
    for (const bool question : {false, true}) {
        SCOPED_TRACE(question);
        m_Frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_Frame.get()));
        QRect box;
        int title = 0;
        WhenModalOpens([&](QWidget* modal) {
            box = modal->frameGeometry();
            title = modal->fontMetrics().horizontalAdvance(modal->windowTitle());
            modal->close();
        });
        question ? (void)AfxQuestion("Sure?", "Yes", "No") : AfxMessageBox("1 added.");
        EXPECT_GE(box.width(), title + 120);
        EXPECT_LE(std::abs(box.center().x() - m_Frame->frameGeometry().center().x()), 2);
    }
    QApplication::setApplicationDisplayName(name);
    InstallRecorder();
}

TEST_F(MainFrameTest, ADroppedAddressBookIsReviewedThenAdded) {
    CreateFrame("[24-12]\nAnna=f001\n");
    WriteFile(*m_Scratch / "people.vcf",
              "BEGIN:VCARD\nVERSION:3.0\nFN:anna\nBDAY:--1224\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:4.0\nFN:Ben\nGENDER:M\nBDAY:1990-06-14\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Carla\nBDAY:--0615\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Dora\nBDAY:--0616\nEND:VCARD\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(*m_Scratch / "people.vcf"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_Frame.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_Frame.get(), &drop);
    std::vector<std::string> results;
    WhenModalOpens([&](QWidget* modal) {
        auto* review = dynamic_cast<tImportDialog*>(modal);
        ASSERT_NE(review, nullptr);
        EXPECT_EQ(Calendar().m_DataFile.CountEntries(6, 14), 0)
            << "nothing is written before the user confirms";
        // The reading is done: its progress window does not come up over the review later.
        QTest::qWait(500);
        for (const QProgressDialog* progress : m_Frame->findChildren<QProgressDialog*>())
            EXPECT_FALSE(progress->isVisible());
        // The columns say what they hold; a card that waits offers "choose", not a gender.
        for (const auto& [column, title] :
             {std::pair{0, tMessage::ColumnName}, std::pair{1, tMessage::ColumnDate},
              std::pair{2, tMessage::ColumnGender}, std::pair{3, tMessage::ColumnResult}})
            EXPECT_EQ(
                FromQString(review->m_Model->headerData(column, Qt::Horizontal, Qt::DisplayRole)
                                .toString()),
                MessageText(title));
        EXPECT_FALSE(review->m_Model->headerData(4, Qt::Horizontal, Qt::DisplayRole).isValid());
        const QModelIndex carla = review->m_Model->index(2, tImportDialog::kColumnGender);
        QAbstractItemDelegate* delegate = review->m_Table->itemDelegateForIndex(carla);
        std::unique_ptr<QWidget> editor(delegate->createEditor(review, {}, carla));
        delegate->setEditorData(editor.get(), carla);
        EXPECT_EQ(static_cast<QComboBox*>(editor.get())->currentIndex(), 0);
        // One choice for all the cards that wait, then one card changed by itself.
        EXPECT_TRUE(review->m_AllFemale->isVisibleTo(review));
        review->m_AllFemale->click();
        review->ChooseGender(3, "m");
        for (int row = 0; row < review->m_Model->rowCount(); ++row)
            results.push_back(FromQString(review->CellText(row, tImportDialog::kColumnResult)));
        review->m_ImportButton->click();
    });
    for (int waited = 0; waited < 5000 && Recorder().m_Messages.empty(); waited += 10)
        QTest::qWait(10);
    EXPECT_EQ(results, (std::vector<std::string>{"already on this day", "will be added",
                                                 "will be added", "will be added"}));
    EXPECT_EQ(Recorder().m_Messages, std::vector<std::string>{"3 added, 1 skipped."});
    std::string name, picture;
    ASSERT_TRUE(Calendar().m_DataFile.ReadEntry(6, 15, 0, name, picture));
    EXPECT_EQ(name + " " + picture.substr(0, 1), "Carla f");
    ASSERT_TRUE(Calendar().m_DataFile.ReadEntry(6, 16, 0, name, picture));
    EXPECT_EQ(name + " " + picture.substr(0, 1), "Dora m");
    EXPECT_EQ(Calendar().m_DayCells[Calendar().m_FirstWeekday + 14]->m_Kind,
              tDayCell::kTodayBirthday)
        << "the month shows the new birthday at once";
    EXPECT_NE(std::string(m_Frame->m_TrayIcon.m_Data.szTip).find("Ben turns 36: today"),
              std::string::npos)
        << "with the age the card's year gives: " << m_Frame->m_TrayIcon.m_Data.szTip;
}

TEST_F(MainFrameTest, EveryMinuteTheMonthAndTheTipShowWhatAnotherProgramAdded) {
    CreateFrame();
    tDataFile other;
    other.SetFileName("Cal_Data\\DataFile.txt");
    std::vector<tDataFile::tAdded> added;
    ASSERT_TRUE(other.AddEntries({{6, 16, "Ola", "f001", {}}}, added));
    m_Frame->OnMinute();
    EXPECT_EQ(Calendar().m_DayCells[Calendar().m_FirstWeekday + 16]->m_Kind, tDayCell::kBirthday);
    EXPECT_EQ(std::string(m_Frame->m_TrayIcon.m_Data.szTip),
              "Zembrola \x96 Birthdays\nOla: in 2 days");
}

TEST_F(MainFrameTest, CtrlFFindsAsTheUserTypesAndEscLeavesThePersonShown) {
    CreateFrame("[03-02]\nZo\xEB Martin=f001\n[09-11]\nZoe Smith=f002\n[01-01]\nAnna=f003\n");
    m_Frame->show();
    m_Frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Frame.get()));
    QTest::keyClick(m_Frame.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(m_Frame->m_FindField->isVisible());
    QTest::keyClicks(m_Frame->m_FindField, "ZOE");
    EXPECT_EQ(Calendar().m_Month * 100 + Calendar().m_SelectedDay, 203);
    EXPECT_EQ(Calendar().m_Name, "Zo\xEB Martin");
    QTest::keyClick(m_Frame->m_FindField, Qt::Key_Return);
    EXPECT_EQ(Calendar().m_Name, "Zoe Smith");
    QTest::keyClicks(m_Frame->m_FindField, "x");
    EXPECT_EQ(Calendar().m_Name, "Zoe Smith") << "no match leaves the person shown";
    EXPECT_FALSE(m_Frame->m_FindField->toolTip().isEmpty());
    QTest::keyClick(m_Frame->m_FindField, Qt::Key_Escape);
    EXPECT_FALSE(m_Frame->m_FindField->isVisible());
    EXPECT_EQ(Calendar().m_Name, "Zoe Smith");
}

// The field stands in place of the title while it is open and goes with any click outside
// it, on a control or not; a right click on it is a right click on the title bar.
TEST_F(MainFrameTest, TheFindFieldTakesTheTitlesPlaceAndGoesWithAClickElsewhere) {
    CreateFrame("[18-06]\nGrandpa Joe=m003\n");
    m_Frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_Frame.get()));
    tFindField& field = *m_Frame->m_FindField;
    const std::string title = m_Frame->m_TitleBar->m_Title;
    const struct {
        const char* m_Name;
        QWidget* m_Target;
        Qt::MouseButton m_Button;
        bool m_StaysOpen;
    } rows[] = {
        {"the title bar", m_Frame->m_TitleBar, Qt::LeftButton, false},
        {"a label", Calendar().m_DateLabel, Qt::LeftButton, false},
        {"a day", Calendar().m_DayCells[Calendar().m_FirstWeekday + 20], Qt::LeftButton, false},
        {"the window's background", m_Frame.get(), Qt::LeftButton, false},
        {"the field itself", &field, Qt::LeftButton, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        m_Frame->OnFind();
        ASSERT_TRUE(field.isVisible());
        EXPECT_TRUE(m_Frame->m_TitleBar->m_Title.empty()) << "no title shows around the field";
        EXPECT_TRUE(m_Frame->m_TitleBar->geometry().contains(field.geometry()));
        QTest::mouseClick(row.m_Target, row.m_Button, {}, QPoint(2, 2));
        EXPECT_EQ(field.isVisible(), row.m_StaysOpen);
        if (!row.m_StaysOpen) {
            EXPECT_EQ(m_Frame->m_TitleBar->m_Title, title);
        }
        field.Close();
    }
    m_Frame->OnFind();
    QTest::mouseClick(&field, Qt::RightButton);
    ASSERT_EQ(Recorder().m_Menus.size(), 1u);
    EXPECT_EQ(Recorder().m_Menus[0].back(), "Remind me at") << "the window's menu, not the edit's";
}

// Typed with or without the accents, the accented names are found.
TEST_F(MainFrameTest, FindTakesTheAccentsAsTyped) {
    CreateFrame("[03-02]\nM\xFCller=f001\n[09-11]\nRen\xE9 Blanc=m002\n[01-01]\nAnna=f003\n");
    m_Frame->show();
    const struct {
        QString m_Typed;
        const char* m_Found;
    } rows[] = {{QString::fromUtf8("M\u00fc"), "M\xFCller"},
                {"Mu", "M\xFCller"},
                {QString::fromUtf8("Ren\u00e9"), "Ren\xE9 Blanc"},
                {"rene", "Ren\xE9 Blanc"},
                {QString::fromUtf8("EN\u00c9"), "Ren\xE9 Blanc"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Typed.toStdString());
        m_Frame->OnFind();
        m_Frame->m_FindField->clear();
        for (const QChar c : row.m_Typed) { // as a keyboard with those keys types them
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(m_Frame->m_FindField, &key);
        }
        EXPECT_EQ(Calendar().m_Name, row.m_Found);
        EXPECT_TRUE(m_Frame->m_FindField->toolTip().isEmpty()) << "found, not red";
        QTest::keyClick(m_Frame->m_FindField, Qt::Key_Escape);
        Calendar().SelectDay(1);
    }
}

} // namespace
