// The application: one instance per user, the calendar window, and the event loop's idle
// processing, which runs the alarm scan.
#pragma once

#include "app/AlarmScan.h"
#include "app/MainFrameAccess.h"
#include "mainwnd/tMainFrame.h"

#include <QApplication>
#include <QTimer>
#include <optional>
#include <string>

class tApp : public QApplication {
public:
    tApp(int& argc, char** argv);
    ~tApp() override;

    // Start-up: false when another instance runs, and the program ends quietly.
    bool InitInstance();
    // The whole run: start-up, the event loop, and an orderly end after a fatal error.
    // Returns the process's exit status.
    int Run();
    // Tells the user which text is missing from which language file.
    void ReportFatalError();
    // Called whenever the event queue has run empty, with a count that starts at 0 for each
    // idle period; true asks for another call.
    virtual bool OnIdle(long count);

    // Every event passes here: it starts an idle period, and an error no handler caught ends
    // the program in an orderly way.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    // Events arrive while the members below are constructed: the idle state comes first.
    int m_IdleTimer = 0;
    long m_IdleCount = 0;

public:
    tMainFrame m_MainFrame;
    bool m_AlarmsArmed = false;
    tAlarmQueue m_AlarmQueue; // due birthdays not yet announced, oldest first
    tBirthday m_AlarmRaised;  // the one the alarm window shows, or showed last

    // The user acknowledged the alarm shown: the next may come.
    void AcknowledgeAlarm();

    tMainFrame* m_pMainWnd = nullptr;        // the main window, once it is being created
    std::optional<std::string> m_FatalError; // the error that ends the program, if any

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    // A quiet desktop may send no event for hours: the loop wakes itself once a minute.
    QTimer m_WakeUp;
};

tApp* GetApp();
