#include "app/tApp.h"

#include "platform/SingleInstance.h"
#include "support/tAnyError.h"

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
