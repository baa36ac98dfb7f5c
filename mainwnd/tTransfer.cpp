#include "mainwnd/tTransfer.h"

#include "data/tCalendar.h"
#include "data/tCalendarExport.h"
#include "data/tContactImport.h"
#include "mainwnd/tImportDialog.h"
#include "platform/CodePage.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "support/Messages.h"

#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <ctime>

tTransfer::tTransfer(tCalendar& calendar, QWidget& window)
    : m_Calendar(calendar), m_Window(window) {}

namespace {
// The dialogs' filters in the platform's form: "Text (*.a)|*.a;*.b||".
std::string Filter(tMessage label, const char* patterns) {
    return MessageText(label) + " (" + patterns + ")|" + patterns + "||";
}
} // namespace

void tTransfer::OnImport() {
    const std::string filter = Filter(tMessage::ContactFiles, "*.vcf;*.vcard");
    if (const std::optional<std::string> chosen = GetOpenFileName(filter.c_str()))
        ImportFiles({*chosen});
}

void tTransfer::ImportFiles(const std::vector<std::string>& paths) {
    m_Calendar.CancelEntry();
    // The cards are read beside the event loop: a large address book takes seconds, and the
    // window stays drawn and shows that it works meanwhile.  What went wrong is said after.
    tContactImport import;
    std::vector<std::string> faults;
    QThread* reader = QThread::create([&import, &faults, paths] {
        for (const std::string& path : paths)
            if (const std::optional<tMessage> fault = import.ReadFile(path))
                faults.push_back(MessageText(*fault, {path}));
    });
    QEventLoop waiting;
    QObject::connect(reader, &QThread::finished, &waiting, &QEventLoop::quit);
    QProgressDialog progress(ToQString(MessageText(tMessage::ImportReading)), QString(), 0, 0,
                             &m_Window);
    progress.setWindowTitle(ToQString(MessageText(tMessage::ImportTitle)));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.hide();
    // A small file is read before anything shows.
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &progress, &QWidget::show);
    showLater.start(400);
    reader->start();
    if (!reader->isFinished())
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    reader->wait();
    delete reader;
    showLater.stop();
    progress.hide();
    for (const std::string& fault : faults)
        AfxMessageBox(fault);
    if (import.m_Contacts.empty())
        return;
    tDataFile& file = m_Calendar.m_DataFile;
    tImportDialog review(import, file, m_Calendar.CountPictures("m"), m_Calendar.CountPictures("f"),
                         &m_Window);
    // Over the calendar, where the user dropped the file, not where the window manager chooses.
    CentreOver(&review, &m_Window);
    if (review.exec() != QDialog::Accepted)
        return;
    const bool written = import.Apply(file);
    if (written && m_KeepYears)
        m_KeepYears(import.m_Contacts);
    std::string report = import.Summary();
    if (!written)
        report.append("\n").append(
            MessageText(MessageForFault(file.LastFault()), {file.GetFileName()}));
    m_Calendar.FillMonth(m_Calendar.m_Month);
    m_Calendar.SelectDay(m_Calendar.m_SelectedDay);
    Q_EMIT m_Calendar.m_Events.PeopleChanged();
    AfxMessageBox(report);
}

void tTransfer::OnExport() {
    const std::string filter = Filter(tMessage::CalendarFiles, "*.ics");
    const std::string suggested = FromQString(QDir::homePath()) + "/birthdays.ics";
    const std::optional<std::string> chosen = GetSaveFileName(filter.c_str(), suggested);
    if (!chosen)
        return;
    AfxMessageBox(
        tCalendarExport::WriteFile(
            m_Calendar.m_DataFile, *chosen, std::time(nullptr),
            tBookLinks::YearLookup(m_BirthYears ? m_BirthYears() : tBookLinks::tBirthYears{}))
            .m_Report);
}
