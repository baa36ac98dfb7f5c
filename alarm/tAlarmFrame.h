// The alarm: a small window without a caption, above all others, with the date, picture and
// name of one birthday.  It plays the user's alarm sound when shown; its hide button
// acknowledges the alarm.
#pragma once

#include "controls/tFocusFrameFilter.h"
#include "layout/tLayoutFrame.h"
#include "platform/DesktopNotifier.h"

#include <QTimer>
#include <string>

class tLabel;

class tAlarmFrame : public tLayoutFrame {
public:
    tAlarmFrame() = default;

    // Creates the window, hidden, sized to its content and centred on the primary screen.
    bool Create(QWidget* owner);
    // Fills in the date, picture and name, shows the window and plays the sound.
    void ShowAlarm();
    // Hides the window, stores today as the last alarm date and lets the next alarm come.
    void Acknowledge();
    // Hides the window for an hour without acknowledging it; then it comes again.
    void Later();
    // Takes the notice away from the desktop at once: the program is ending.
    void Withdraw();

    // Keys typed within this time of the reminder's appearing, or of the last key, do not
    // acknowledge it: they were meant for the window the user was typing in.
    static constexpr int kKeyGraceMs = 1500;
    static constexpr int kLaterMs = 60 * 60 * 1000;
    // The commands of the window's menu.
    static constexpr unsigned kCommandLater = 0x8101;
    static constexpr unsigned kCommandOk = 0x8102;

    static constexpr const char* kSoundKey =
        "AppEvents\\Schemes\\Apps\\Natalex\\BirthdayAlarm\\.Current";
    static constexpr const char* kDefaultSound = "Cal_Data\\Alarm01.wav";

    std::string m_Name;
    std::string m_Exact;       // the name as the data file holds it (UTF-8), as shown
    std::string m_PicturePath; // "Cal_Data\Images\" + picture name + ".bmp"
    int m_Day = 0;
    int m_Month = 0;
    tLabel* m_PictureView = nullptr;
    tLabel* m_NameLabel = nullptr;
    tLabel* m_DateLabel = nullptr;
    DesktopNotifier m_Notifier; // the same alarm in the desktop's notifications
    QTimer m_LaterTimer;        // runs while the reminder waits after "Later"

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    // The background between the controls, the calendar window's light blue.
    void OnEraseBkgnd(QPainter& painter) override;

private:
    // The notice's name: "Anna Berg turns 40" where the address books know the year.
    std::string WhoTurnsWhat() const;
    static constexpr const char* kLinksPath = "Cal_Data/AddressBooks.json";
    int OnCreate();
    void PlayAlarmSound();
    void Centre();

    uint32_t m_KeysFrom = 0;    // the tick from which keys count
    int m_KeyDown = 0;          // the key pressed after the grace, whose release acknowledges
    bool m_HadKeyboard = false; // the reminder acknowledged last had the keyboard
    QWidget* m_Owner = nullptr; // the calendar window, which gets the keyboard back
    tFocusFrameFilter m_FocusFrame;
};
