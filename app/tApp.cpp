#include "app/tApp.h"

#include "platform/CurrentDirectory.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "support/tAnyError.h"
#include "support/tLanguageString.h"

#include <QTimerEvent>

namespace {
tApp* g_App = nullptr;
}

tApp* GetApp() {
    return g_App;
}

tMainFrame* GetMainFrame() {
    return g_App ? g_App->m_pMainWnd : nullptr;
}

tApp::tApp(int& argc, char** argv) : QApplication(argc, argv) {
    g_App = this;
    setApplicationName("Zembrola");
    setApplicationDisplayName("Zembrola");
    setQuitOnLastWindowClosed(false); // hiding the window to the tray never ends the program
    m_WakeUp.setInterval(60 * 1000);
}

tApp::~tApp() {
    m_AlarmQueue.clear();
    g_App = nullptr;
}

bool tApp::InitInstance() {
    if (!ClaimSingleInstance("Zembrola"))
        return false;
    m_pMainWnd = &m_MainFrame;
    m_MainFrame.Create("Zembrola");
    m_MainFrame.show();
    m_WakeUp.start();
    return true;
}

int tApp::Run() {
    int status = 0;
    try {
        if (!InitInstance())
            return 0; // another instance runs: end quietly
        if (!m_FatalError)
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
    const std::string file =
        FullPath(g_LanguageString.GetFileName());
    AfxMessageBox("Zembrola cannot go on: " + text + "\nThe texts are read from " + file +
                  ".\nYour birthdays have not been touched.");
}

bool tApp::OnIdle(long count) {
    if (m_pMainWnd && !m_FatalError)
        RunAlarmScanStep(m_AlarmsArmed, m_AlarmQueue, m_pMainWnd->m_Calendar);
    return count == 0;
}

bool tApp::notify(QObject* receiver, QEvent* event) {
    const bool idleTick = receiver == this && event->type() == QEvent::Timer &&
                          static_cast<QTimerEvent*>(event)->timerId() == m_IdleTimer;
    if (!idleTick) {
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
