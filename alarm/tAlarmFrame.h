// The alarm: a small window without a caption, above all others, with the date, picture and
// name of one birthday.  It plays the user's alarm sound when shown; its hide button
// acknowledges the alarm.
#pragma once

#include "layout/tLayoutFrame.h"
#include "platform/DesktopNotifier.h"

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

    static constexpr const char* kSoundKey =
        "AppEvents\\Schemes\\Apps\\Natalex\\BirthdayAlarm\\.Current";
    static constexpr const char* kDefaultSound = "Cal_Data\\Alarm01.wav";

    std::string m_Name;
    std::string m_PicturePath; // "Cal_Data\Images\" + picture name + ".bmp"
    int m_Day = 0;
    int m_Month = 0;
    tLabel* m_PictureView = nullptr;
    tLabel* m_NameLabel = nullptr;
    tLabel* m_DateLabel = nullptr;
    DesktopNotifier m_Notifier; // the same alarm in the desktop's notifications

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int OnCreate();
    void PlayAlarmSound();
};
