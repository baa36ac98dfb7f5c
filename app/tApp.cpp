#include "app/tApp.h"

#include "platform/CurrentDirectory.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"
#include "platform/tProfileCache.h"
#include "platform/tWorkStep.h"
#include "support/tAnyError.h"
#include "support/tLanguageString.h"

#include <QSocketNotifier>
#include <QThread>
#include <QTimerEvent>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
tApp* g_App = nullptr;
}

tApp* GetApp() {
    return g_App;
}

tMainFrame* GetMainFrame() {
    return g_App ? g_App->m_pMainWnd : nullptr;
}

namespace {

// Signals arrive at any moment; their handler only writes to a pipe that the event loop reads.
int g_SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_SignalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

tApp::tApp(int& argc, char** argv) : QApplication(argc, argv) {
    g_App = this;
    setApplicationName("Zembrola");
    setApplicationDisplayName("Zembrola");
    setQuitOnLastWindowClosed(false); // hiding the window to the tray never ends the program
    m_WakeUp.setInterval(60 * 1000);
    // A tray that appears later (a panel started after the program) gets the icon; when the
    // tray goes away, the window goes to the task bar.
    connect(&m_WakeUp, &QTimer::timeout, this, [this] {
        const tWorkStep step(tWorkStep::kLoopPolled);
        if (m_pMainWnd) {
            m_pMainWnd->FollowTray();
            m_pMainWnd->OnMinute();
        }
    });

    // Asked to end (logout, shutdown, kill, Ctrl+C in a terminal): closed as Exit closes, so
    // the session's settings are saved.
    if (g_SignalPipe[0] < 0 && pipe2(g_SignalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            sigaction(signal, &action, nullptr);
    }
    // The data and language files' change reports come with the loop's own poll, so that an
    // idle step asks the kernel nothing.
    if (const int reports = tProfileCache::Instance().ReportDescriptor(); reports >= 0) {
        auto* notifier = new QSocketNotifier(reports, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [] { tProfileCache::Instance().TakeReports(); });
    }
    if (g_SignalPipe[0] >= 0) {
        auto* notifier = new QSocketNotifier(g_SignalPipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (read(g_SignalPipe[0], bytes, sizeof bytes) > 0) {
            }
            if (m_pMainWnd)
                m_pMainWnd->OnClose();
            else
                QCoreApplication::exit(0);
        });
    }
    // The session manager saves the session: the settings are saved with it.
    connect(this, &QGuiApplication::commitDataRequest, this, [this] {
        if (m_pMainWnd)
            m_pMainWnd->SaveSettings();
    });
}

tApp::~tApp() {
    m_AlarmQueue.clear();
    // Nothing that needs the application object may outlive it.
    StopSound();
    g_App = nullptr;
}

bool tApp::InitInstance() {
    if (!ClaimSingleInstance("Zembrola")) {
        TellRunningInstance(); // it shows its window when it has no tray icon to be found by
        return false;
    }
    m_pMainWnd = &m_MainFrame;
    m_MainFrame.Create("Zembrola");
    m_MainFrame.show();
    // The keyboard starts in the calendar: a window manager gives a new window the focus
    // only when asked.
    SetForegroundWindow(&m_MainFrame);
    m_WakeUp.start();
    // Without a tray icon, starting the program again is how the user finds the window.
    ListenForLaterStarts([this] {
        m_MainFrame.FollowTray();
        if (!m_MainFrame.m_TrayIcon.IsShown())
            m_MainFrame.OnShow();
    });
    return true;
}

int tApp::Run() {
    int status = 0;
    try {
        if (!InitInstance())
            return 0; // another instance runs: end quietly
        // Asked to end during a message at start: that message's loop has ended, and the main
        // one must not start.
        if (!m_FatalError && !m_MainFrame.IsClosing())
            status = exec();
    } catch (const tAnyError& error) {
        m_FatalError = error.m_Text;
    }
    if (!m_FatalError)
        return status;
    ReportFatalError();
    return 2;
}

void tApp::ReportFatalError() {
    m_MainFrame.hide();
    m_MainFrame.m_AlarmFrame.hide();
    std::string text = m_FatalError.value_or("");
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    // Not from the language file: the language file is what failed.
    const std::string file = FullPath(g_LanguageString.GetFileName());
    AfxMessageBox("Zembrola cannot go on: " + text + "\nThe texts are read from " + file +
                  ".\nYour birthdays have not been touched.");
}

bool tApp::OnIdle(long count) {
    const tWorkStep step(tWorkStep::kLoopPolled);
    if (m_pMainWnd && !m_FatalError)
        RunAlarmScanStep(m_AlarmsArmed, m_AlarmQueue, m_pMainWnd->m_Calendar, &m_AlarmRaised);
    return count == 0;
}

void tApp::AcknowledgeAlarm() {
    if (m_pMainWnd)
        ::AcknowledgeAlarm(m_AlarmsArmed, m_AlarmQueue, m_AlarmRaised,
                           m_pMainWnd->m_Calendar.m_DataFile);
    else
        m_AlarmsArmed = true;
}

bool tApp::notify(QObject* receiver, QEvent* event) {
    const bool idleTick = receiver == this && event->type() == QEvent::Timer &&
                          static_cast<QTimerEvent*>(event)->timerId() == m_IdleTimer;
    // Events delivered on other threads (Qt's D-Bus thread) start no idle period: a timer
    // belongs to the thread of the user interface.
    if (!idleTick && QThread::currentThread() == thread()) {
        m_IdleCount = 0;
        if (m_IdleTimer == 0)
            m_IdleTimer = startTimer(0); // fires once the queue has run empty
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const tAnyError& error) {
        // A text missing from the language file: nothing more is done, the data file included.
        if (!m_FatalError)
            m_FatalError = error.m_Text;
        m_AlarmsArmed = false;
        QCoreApplication::exit(2);
        return true;
    }
}

void tApp::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_IdleTimer) {
        QApplication::timerEvent(event);
        return;
    }
    if (!OnIdle(m_IdleCount++)) {
        killTimer(m_IdleTimer);
        m_IdleTimer = 0;
    }
}
