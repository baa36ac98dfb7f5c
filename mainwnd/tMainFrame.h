// The calendar window: month buttons, weekday headers, 42 day cells, an editing area with
// three pages, and the date, picture and name of the person shown.  It has no platform
// caption and no task-bar entry; its own title bar moves it.
#pragma once

#include "addressbooks/tBookSyncTimer.h"
#include "alarm/tAlarmFrame.h"
#include "app/MainFrameAccess.h"
#include "controls/tFocusFrameFilter.h"
#include "data/tCalendar.h"
#include "image/tDibPalette.h"
#include "layout/tLayoutFrame.h"
#include "mainwnd/tCalendarKeys.h"
#include "mainwnd/tTransfer.h"
#include "platform/WindowMessage.h"
#include "tray/tTrayIcon.h"

#include <QFont>
#include <memory>
#include <string>
#include <vector>

class tBooksDialog;
class tFindField;
class tTitleBar;
class tHelpWindow;
class tLayoutDeck;
class QShortcut;

class tMainFrame : public tLayoutFrame, public tEditModes {
public:
    static constexpr UINT kTrayMessage = WM_USER + 10;
    static constexpr UINT kCommandShow = 0x8007;
    static constexpr UINT kCommandExit = 0x8008;
    static constexpr UINT kCommandHide = 0x8009;
    static constexpr UINT kCommandImport = 0x800A;
    static constexpr UINT kCommandExport = 0x800B;
    static constexpr UINT kCommandFind = 0x800C;
    static constexpr UINT kCommandSyncNow = 0x800D;
    static constexpr UINT kCommandBooks = 0x800E;
    static constexpr UINT kCommandAlarmHour = 0x8010; // + the hour, 0-23

    tMainFrame();
    ~tMainFrame() override;

    // Creates and builds the window (hidden until shown); false when it cannot be built.
    bool Create(const char* title);
    void SetMode(int mode);
    // With a tray icon the window is a tool window hidden to the tray; without one it has a
    // task-bar entry and minimises instead of hiding.
    void FitToTray();
    // Adds the tray icon for a tray that came after the program, or removes it with a tray
    // that went, and fits the window to that.
    void FollowTray();

    void OnShow();
    void OnHide();
    void OnExit();
    void OnHelpInfo();
    int OnQueryNewPalette();
    void OnPaletteChanged(const QWidget* changedBy);
    // Saves the placement and the alarm settings, then ends the program.
    void OnClose();
    // Whether the program was asked to end.
    bool IsClosing() const { return m_Closing; }
    // Saves the placement and the alarm settings; a failure is reported.
    void SaveSettings();

    // The window's keys, from whichever control has the focus: true when the key was used.

    // The window's own menu (a right click on the title bar): the tray's items, then import,
    // export and find.
    void ShowWindowMenu(QPoint at);
    // Reads the cards of vCard files, lets the user review them and adds those confirmed.
    void OnFind();
    // The address books' dialog, shown.
    void OnBooks();
    // The hour from which a new day's reminders come, stored at once.
    void SetAlarmHour(int hour);
    // The tray icon's tip: the title, then the birthdays of the coming days of notice.
    void UpdateTip();
    // Once a minute: the tip, and the month's marks, which another program's import or a new
    // day may have changed.
    void OnMinute();
    // waiting: address-book contacts that wait for a gender, said last; years: the birth
    // years the address books give, for "turns 40".
    static std::string TipText(const tDataFile& file, int notifyDays, const CTime& now,
                               int waiting = 0, const tBookLinks::tBirthYears& years = {});

    QFont m_SmallFont;  // Arial 7 points: weekday headers, day cells
    QFont m_NormalFont; // Arial 11 points: the labels of the editing area
    QFont m_BoldFont;   // Arial 11 points bold: month buttons
    QFont m_LargeFont;  // Arial 14 points: title bars, hide buttons, date, name, "Ok"
    tDibPalette m_Palette;
    int m_Mode = kModeBrowse;
    tLayoutDeck* m_Deck = nullptr; // the editing area's three pages, owned by the tree
    tCalendar m_Calendar;
    tCalendarKeys m_Keys{m_Calendar, [this] { return m_Mode == kModeBrowse; }};
    tFocusFrameFilter m_FocusFrame;
    tTransfer m_Transfer{m_Calendar, *this};
    // The subscribed address books, synced in the background; the links file is the data
    // file's neighbour.
    tBookLinks::tBirthYears m_BirthYears; // as the last sync left them
    tBookSyncTimer m_BookSync{
        m_Calendar.m_DataFile, "Cal_Data/AddressBooks.json", [this] {
            return std::pair{m_Calendar.CountPictures("m"), m_Calendar.CountPictures("f")};
        }};
    tTrayIcon m_TrayIcon{101};
    tAlarmFrame m_AlarmFrame;
    tFindField* m_FindField = nullptr; // owned by the window
    // The address books' dialog, made when first asked for; owned by the window.
    tBooksDialog* m_BooksDialog = nullptr;
    int m_BooksWaiting = 0;          // contacts of the address books waiting for a gender
    tTitleBar* m_TitleBar = nullptr; // likewise

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void OnEraseBkgnd(QPainter& painter) override;

private:
    int OnCreate();
    void BuildTree();
    void MakeFonts();

    QShortcut* m_HelpKey = nullptr;
    std::unique_ptr<tHelpWindow> m_HelpWindow; // where no program opens the help document
    QWidget* m_PageFocus[3] = {};              // where the keyboard goes on each editing page
    bool m_Closing = false;
    bool m_SettingsRead = false; // the stored settings were read: saving them keeps them
};
