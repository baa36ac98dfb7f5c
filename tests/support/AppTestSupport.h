// Widget tests with the application object: every platform dialog, sound and shell call goes to
// a recorder, and each test gets a fresh main window over a fresh copy of Cal_Data.
#pragma once

#include "app/tApp.h"
#include "platform/TrayIcon.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct tRecorder {
    std::vector<std::string> m_Messages;  // message boxes
    std::vector<std::string> m_Questions; // questions asked
    bool m_Answer = true;                 // what the user answers them
    int m_Beeps = 0;
    std::vector<std::string> m_Sounds; // files asked to play
    // Notices sent to the desktop: "summary|body|picture|ok label|later label", "" for a close.
    std::vector<std::string> m_Notices;
    std::vector<std::string> m_ShellOpened; // documents opened with the user's program
    std::vector<std::pair<unsigned, NOTIFYICONDATA>> m_TrayCalls;
    bool m_TrayAccepts = true;
    std::vector<std::vector<std::string>> m_Menus; // the texts of each menu shown (then dismissed)

    void Clear() { *this = tRecorder(); }
};

tRecorder& Recorder();
// Installs the recorder in place of the platform's dialogs, sounds and shell.
void InstallRecorder();

// A local date-time as seconds, for the clock.
int64_t LocalTime(int year, int month, int day, int hour, int minute);

// The controls of a kind in a window, with their identifier when one is given.  The control
// classes carry no meta-object: they are found by their C++ type.
template <class T>
std::vector<T*> Controls(QWidget* window, std::optional<int> id = std::nullopt) {
    std::vector<T*> found;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (T* control = dynamic_cast<T*>(child);
            control && (!id || control->GetDlgCtrlID() == *id))
            found.push_back(control);
    return found;
}

class tFrameTest : public testing::Test {
protected:
    // Creates the main window with today at date, in a scratch Cal_Data holding dataFile.
    void CreateFrame(const std::string& dataFile = "", int64_t now = LocalTime(2026, 6, 14, 10, 0));
    // Ends the program and starts it again on the same data folder.
    void Restart(int64_t now);
    void TearDown() override;

    tApp& App() { return *GetApp(); }
    tCalendar& Calendar() { return m_Frame->m_Calendar; }
    std::string DataFile() const { return ReadFile("Cal_Data/DataFile.txt"); }

    std::unique_ptr<tScratch> m_Scratch;
    std::unique_ptr<tMainFrame> m_Frame;
};

} // namespace TestSupport
