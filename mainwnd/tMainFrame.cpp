#include "mainwnd/tMainFrame.h"

#include "mainwnd/tHelpWindow.h"
#include "platform/tWorkStep.h"

#include "app/tApp.h"
#include "controls/Colours.h"
#include "controls/tCheckButton.h"
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tDeleteButton.h"
#include "controls/tGenderButton.h"
#include "controls/tHideButton.h"
#include "controls/tLabel.h"
#include "controls/tMonthButton.h"
#include "controls/tOkButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tPictureStepButton.h"
#include "controls/tSpinButton.h"
#include "controls/tWeekdayHeader.h"
#include "data/tCalendarExport.h"
#include "data/tContactImport.h"
#include "data/tUpcoming.h"
#include "image/tDib.h"
#include "layout/tLayoutColumn.h"
#include "layout/tLayoutDeck.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tLayoutSpacer.h"
#include "layout/tTitleBar.h"
#include "mainwnd/tBooksDialog.h"
#include "mainwnd/tFindField.h"
#include "mainwnd/tImportDialog.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "platform/FileDialog.h"
#include "platform/Joined.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/WindowPlacement.h"
#include "resources/Resources.h"
#include "support/Messages.h"
#include "support/tLanguageString.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>
#include <QUrl>

using namespace Colours;

namespace {

template <class T>
T* Add(tLayoutContainer* parent, T* child) {
    parent->AddChild(child);
    return child;
}

tLayoutSpacer* Spacer(tLayoutContainer* parent, int size) {
    tLayoutSpacer* spacer = Add(parent, new tLayoutSpacer);
    spacer->m_MinSize[0] = spacer->m_MinSize[1] = size;
    return spacer;
}

// The first character of a language text: the captions of the month and weekday buttons.
std::string Initial(const char* key) {
    return std::string(1, g_LanguageString.GetString(key)[0]);
}

} // namespace

tMainFrame::tMainFrame() = default;

tMainFrame::~tMainFrame() = default;

bool tMainFrame::Create(const char* title) {
    // A pop-up with a dialog frame: no caption, no system menu, no task-bar entry (while there
    // is a tray).  Not a tool window, which KWin hides whenever another program is active.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(title);
    setWindowIcon(*LoadIcon(IDR_TRAY));
    return OnCreate() == 0;
}

void tMainFrame::MakeFonts() {
    // A negative height asks for the character height: points at the window's pixel density.
    const int dpi = logicalDpiY();
    auto make = [dpi](QFont& font, int points, bool bold) {
        font = QFont("Arial");
        font.setPixelSize(points * dpi / 72);
        font.setBold(bold);
    };
    make(m_SmallFont, 7, false);
    make(m_NormalFont, 11, false);
    make(m_BoldFont, 11, true);
    make(m_LargeFont, 14, false);
}

int tMainFrame::OnCreate() {
    g_LanguageString.SetFileName("Cal_Data\\Language.txt");
    g_LanguageString.SetLanguage(1);
    m_Calendar.m_DataFile.SetFileName("Cal_Data\\DataFile.txt");
    g_LanguageString.SetLanguage(m_Calendar.m_DataFile.ReadLanguage(),
                                 m_Calendar.m_DataFile.ReadLanguageText());
    m_Calendar.m_DataFile.RemoveStaleSaves();
    // A data file that cannot be read shows no birthdays: say why at once, not at the first
    // save (nothing is written to it meanwhile).
    if (const tFileFault fault = m_Calendar.m_DataFile.ReadFault(); fault != tFileFault::None)
        AfxMessageBox(MessageText(MessageForFault(fault), {m_Calendar.m_DataFile.GetFileName()}));

    m_TrayIcon.SetNotificationWnd(this, kTrayMessage);
    m_TrayIcon.SetIcon(IDR_TRAY, g_LanguageString.GetString("title"));
    FitToTray();

    {
        tDib reference;
        reference.Load("Cal_Data\\Images\\m001.bmp");
        m_Palette.CreateFromDib(reference);
    }
    MakeFonts();
    BuildTree();
    // The window's keys (the arrows in the grid, Enter on a day, + and -) come before a
    // control's own.
    for (QWidget* child : findChildren<QWidget*>())
        if (dynamic_cast<tOwnerDrawButton*>(child) || dynamic_cast<tColourEdit*>(child))
            child->installEventFilter(&m_Keys);
    connect(&m_Calendar.m_Events, &tCalendarEvents::PeopleChanged, this, [this] { UpdateTip(); });
    // What a sync brought shows at once, unless someone is being entered (then at the next
    // month or day the user picks).
    connect(&m_BookSync, &tBookSyncTimer::Synced, this, [this](bool changed, int, int waiting) {
        tBookLinks::tBirthYears years = m_BookSync.BirthYears();
        if (waiting != m_BooksWaiting || years != m_BirthYears) {
            m_BooksWaiting = waiting;
            m_BirthYears = std::move(years);
            UpdateTip();
        }
        if (!changed)
            return;
        if (m_Mode == kModeBrowse && m_Calendar.m_Month >= 1) {
            m_Calendar.FillMonth(m_Calendar.m_Month);
            m_Calendar.SelectDay(m_Calendar.m_SelectedDay);
        }
        Q_EMIT m_Calendar.m_Events.PeopleChanged();
    });
    // A person removed here whose card is in a book: the user says whether the card loses
    // the birthday too (else the person stays out here alone).
    connect(&m_Calendar.m_Events, &tCalendarEvents::PersonDeleted, this,
            [this](int, int, const QByteArray& name) {
                const std::string person = name.toStdString();
                const std::optional<QString> book = m_BookSync.BookOf(person);
                if (book &&
                    AfxQuestion(MessageText(tMessage::DropBirthdayQuestion,
                                            {person, CodePage::AnsiFromUtf8(book->toStdString())}),
                                MessageText(tMessage::DropBirthdayButton),
                                MessageText(tMessage::KeepInBookButton)))
                    m_BookSync.DropBirthday(person);
            });
    connect(&m_BookSync, &tBookSyncTimer::Conflicts, this, [](const QStringList& people) {
        AfxMessageBox(MessageText(tMessage::SyncConflictNote,
                                  {CodePage::AnsiFromUtf8(people.join(", ").toStdString())}));
    });
    m_Transfer.m_BirthYears = [this] { return m_BookSync.BirthYears(); };
    m_Transfer.m_KeepYears = [this](const std::vector<tContactImport::tContact>& contacts) {
        m_BookSync.KeepImportedYears(contacts);
        m_BirthYears = m_BookSync.BirthYears();
        UpdateTip();
    };
    m_BookSync.Start();
    connect(&m_Calendar.m_Events, &tCalendarEvents::NoticeDaysChanged, this,
            [this] { UpdateTip(); });

    m_Calendar.SelectMonth(CTime::GetCurrentTime().GetMonth());
    // The keyboard starts on today, where the arrows make the most sense.
    if (tDayCell* today =
            m_Calendar.m_DayCells[CTime::GetCurrentTime().GetDay() + m_Calendar.m_FirstWeekday])
        today->setFocus(Qt::OtherFocusReason);
    m_Calendar.SetNotifyAdvance(m_Calendar.m_DataFile.ReadNotifyInAdvance());
    m_Calendar.SetNotifyDays(m_Calendar.m_DataFile.ReadNotifyDays());
    m_SettingsRead = true;
    SetMode(kModeBrowse);

    const QRect client = contentsRect();
    m_X = client.x();
    m_Y = client.y();
    m_Width = client.width();
    m_Height = client.height();
    tLayoutFrame::Measure();
    Place();
    // The window's size is the content's with the frame around it.
    UpdateSizeLimits();
    // One size only: tiling window managers then float the window instead of stretching it.
    setFixedSize(m_MeasuredSize[0], m_MeasuredSize[1]);
    WINDOWPLACEMENT placement;
    m_Calendar.m_DataFile.ReadWindowPlacement(placement);
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + m_MeasuredSize[0];
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + m_MeasuredSize[1];
    SetWindowPlacement(this, &placement);

    m_AlarmFrame.Create(this);
    m_HelpKey = new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { OnHelpInfo(); });
    new QShortcut(QKeySequence::Find, this, [this] { OnFind(); });
    m_FindField = new tFindField(m_Calendar, *m_TitleBar, this);
    m_FocusFrame.Watch(this);
    setAcceptDrops(true);
    UpdateTip();
    if (tApp* app = GetApp())
        app->m_AlarmsArmed = true;
    return 0;
}

void tMainFrame::BuildTree() {
    auto* a = Add(this, new tLayoutColumn);

    auto* titleRow = Add(a, new tLayoutRow);
    auto* hide = Add(titleRow, new tHideButton);
    hide->Create("\xA4", this, 0);
    hide->setAccessibleName(ToQString(g_LanguageString.GetStringOr("Hide", "Hide")));
    hide->setFont(m_LargeFont);
    hide->m_Fixed[0] = hide->m_Fixed[1] = true;
    auto* title = Add(titleRow, new tTitleBar);
    title->Create(g_LanguageString.GetString("title"), this);
    title->UseWindowLook(&m_LargeFont);
    m_TitleBar = title;
    connect(title, &tTitleBar::MenuRequested, this, [this](QPoint at) { ShowWindowMenu(at); });

    auto* months = Add(a, new tLayoutRow);
    months->m_EqualiseChildren = true;
    for (int month = 1; month <= 12; ++month) {
        auto* button = Add(months, new tMonthButton);
        button->Create(Initial(tCalendar::GetMonthShortName(month)).c_str(), this, month);
        button->setAccessibleName(ToQString(tCalendar::SpokenMonthName(month)));
        button->setFont(m_BoldFont);
        m_Calendar.m_MonthButtons[month] = button;
    }
    Spacer(a, 6);

    auto* b = Add(a, new tLayoutRow);
    Spacer(b, 4);
    auto* c = Add(b, new tLayoutColumn);
    auto* calendar = Add(c, new tLayoutColumn);
    auto* headers = Add(calendar, new tLayoutRow);
    headers->m_EqualiseChildren = true;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        auto* header = Add(headers, new tWeekdayHeader);
        header->Create(Initial(tCalendar::GetWeekdayShortName(weekday)).c_str(), this, -1);
        header->setAccessibleName(ToQString(
            MessageText(static_cast<tMessage>(static_cast<int>(tMessage::Sunday) + weekday - 1))));
        header->setFont(m_SmallFont);
        m_Calendar.m_WeekdayHeaders[weekday] = header;
    }
    Spacer(calendar, 4);
    auto* grid = Add(calendar, new tLayoutColumn);
    grid->m_EqualiseChildren = true;
    for (int row = 0; row < 6; ++row) {
        auto* week = Add(grid, new tLayoutRow);
        for (int column = 0; column < 7; ++column) {
            const int id = row * 7 + column + 1;
            auto* cell = Add(week, new tDayCell);
            cell->Create("  ", this, id);
            cell->setFont(m_SmallFont);
            cell->SetWindowText("  ");
            m_Calendar.m_DayCells[id] = cell;
        }
    }
    Spacer(calendar, 4);

    // The labels of the editing area: grey text on the background.
    auto label = [this](tLayoutContainer* parent, const char* text, bool left) {
        auto* l = Add(parent, new tLabel);
        l->Create(text, this);
        l->SetColours(kLightBlue, kLightGrey);
        if (left)
            l->SetTextAlignment(DT_LEFT);
        l->setFont(m_NormalFont);
        return l;
    };

    m_Deck = Add(c, new tLayoutDeck);
    auto* page0 = Add(m_Deck, new tLayoutColumn);
    auto* settings = Add(page0, new tLayoutColumn);
    settings->m_EqualiseChildren = true;
    auto* alarmRow = Add(settings, new tLayoutRow);
    auto* checkColumn = Add(alarmRow, new tLayoutColumn);
    Add(checkColumn, new tLayoutFiller);
    auto* check = Add(checkColumn, new tCheckButton);
    check->Create("", this, 1);
    check->setAccessibleName(ToQString(g_LanguageString.GetString("Alarm")));
    check->m_Fixed[0] = check->m_Fixed[1] = true;
    m_Calendar.m_AlarmCheckBox = check;
    Add(checkColumn, new tLayoutFiller);
    label(alarmRow, g_LanguageString.GetString("Alarm"), true);
    auto* daysRow = Add(settings, new tLayoutRow);
    m_Calendar.m_DaysNumberLabel = label(daysRow, "3", false);
    m_Calendar.m_DaysNumberLabel->m_Fixed[0] = m_Calendar.m_DaysNumberLabel->m_Fixed[1] = true;
    auto* spin = Add(daysRow, new tLayoutColumn);
    for (int id : {1, 0}) {
        auto* arrow = Add(spin, new tSpinButton);
        arrow->Create("", this, id);
        arrow->setAccessibleName(
            ToQString(MessageText(id == 1 ? tMessage::MoreDays : tMessage::FewerDays)));
        arrow->m_Fixed[0] = true;
    }
    m_Calendar.m_DaysUnitLabel = label(daysRow, g_LanguageString.GetString("days"), true);
    auto* advanceRow = Add(settings, new tLayoutRow);
    label(advanceRow, g_LanguageString.GetString("in advance"), true);
    Spacer(page0, 8);
    auto* deleteRow = Add(page0, new tLayoutRow);
    auto* trash = Add(deleteRow, new tDeleteButton);
    trash->Create("", this, -1);
    trash->setAccessibleName(ToQString(MessageText(tMessage::DeleteShown)));
    label(deleteRow, g_LanguageString.GetString("delete"), true);

    auto* page1 = Add(m_Deck, new tLayoutColumn);
    Add(page1, new tLayoutFiller);
    label(page1, g_LanguageString.GetString("Select Gender"), false)->m_Fixed[1] = true;
    auto* genders = Add(page1, new tLayoutRow);
    tGenderButton* genderButtons[2] = {};
    for (int id : {0, 1}) {
        auto* gender = Add(genders, new tGenderButton);
        genderButtons[id] = gender;
        gender->Create("", this, id);
        gender->setAccessibleName(
            ToQString(MessageText(id != 0 ? tMessage::GenderMale : tMessage::GenderFemale)));
        gender->m_Fixed[1] = true;
    }

    auto* page2 = Add(m_Deck, new tLayoutColumn);
    Add(page2, new tLayoutFiller);
    label(page2, g_LanguageString.GetString("Select Image"), false)->m_Fixed[1] = true;
    auto* pictureRow = Add(page2, new tLayoutRow);
    auto* previous = Add(pictureRow, new tPictureStepButton);
    previous->Create("\xAB", this, 0);
    previous->setAccessibleName(ToQString(MessageText(tMessage::PreviousPicture)));
    auto* ok = Add(pictureRow, new tOkButton);
    ok->Create("Ok", this, -1);
    auto* next = Add(pictureRow, new tPictureStepButton);
    next->Create("\xBB", this, 1);
    next->setAccessibleName(ToQString(MessageText(tMessage::NextPicture)));
    for (tOwnerDrawButton* button :
         {static_cast<tOwnerDrawButton*>(previous), static_cast<tOwnerDrawButton*>(ok),
          static_cast<tOwnerDrawButton*>(next)}) {
        button->m_Fixed[1] = true;
        button->setFont(m_LargeFont);
    }

    Spacer(b, 4);
    auto* person = Add(b, new tLayoutColumn);
    auto* date = Add(person, new tLabel);
    date->Create("             ", this);
    date->SetColours(kLightBlue, kDarkBlue);
    date->setFont(m_LargeFont);
    date->m_MinSize[0] = 30;
    date->m_MinSize[1] = 20;
    m_Calendar.m_DateLabel = date;
    Add(person, new tLayoutFiller);
    Spacer(person, 4);
    auto* picture = Add(person, new tLabel);
    picture->Create("", this);
    picture->m_Role = QAccessible::Graphic;
    picture->m_MinSize[0] = picture->m_MinSize[1] = 180;
    picture->m_Palette = &m_Palette;
    m_Calendar.m_PictureView = picture;
    m_Calendar.ShowPicture();
    Spacer(person, 4);
    Add(person, new tLayoutFiller);
    auto* nameRow = Add(person, new tLayoutRow);
    auto* before = Add(nameRow, new tPersonStepButton);
    before->Create("<", this, 0);
    before->setAccessibleName(ToQString(MessageText(tMessage::PreviousPerson)));
    m_Calendar.m_PreviousPersonButton = before;
    auto* name = Add(nameRow, new tColourEdit);
    name->Create(WS_VISIBLE | ES_CENTER | ES_MULTILINE, this, -1);
    name->setAccessibleName(ToQString(MessageText(tMessage::ColumnName)));
    name->SetWindowText("            ");
    name->m_Fixed[1] = true;
    name->setFont(m_LargeFont);
    name->SetColours(kDarkBlue, kLightBlue, kLightBlue);
    name->SetInputRule(tCalendar::IsEnterableName, [](const std::string& current) {
        return MessageText(current.size() >= tDataFile::kMaxNameLength ? tMessage::NameTooLong
                                                                       : tMessage::NameRefused);
    });
    m_Calendar.m_NameEdit = name;
    m_Calendar.SetNameEditable(false);
    // While a person is added, Tab goes from the name to the gender and picture choices.
    QWidget* previousInChain = name;
    for (QWidget* next : {static_cast<QWidget*>(genderButtons[0]),
                          static_cast<QWidget*>(genderButtons[1]), static_cast<QWidget*>(previous),
                          static_cast<QWidget*>(ok), static_cast<QWidget*>(next)}) {
        setTabOrder(previousInChain, next);
        previousInChain = next;
    }
    m_PageFocus[1] = genderButtons[0];
    m_PageFocus[2] = ok;
    auto* after = Add(nameRow, new tPersonStepButton);
    after->Create(">", this, 1);
    after->setAccessibleName(ToQString(MessageText(tMessage::NextPerson)));
    m_Calendar.m_NextPersonButton = after;
    Spacer(b, 4);
    Spacer(a, 4);
}

void tMainFrame::FitToTray() {
    const bool inTaskbar = !m_TrayIcon.IsShown();
    if (inTaskbar == m_InTaskbar)
        return;
    // A desktop without a tray (GNOME): a task-bar entry, so that the window is never lost.
    // The window manager reads the entry when the window is mapped.
    const bool visible = isVisible();
    m_InTaskbar = inTaskbar;
    if (visible) {
        hide();
        show();
    }
}

void tMainFrame::FollowTray() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (m_TrayIcon.IsShown() == available)
        return;
    // A tray that came after the program gets the icon; one that went takes it along.
    if (available) {
        m_TrayIcon.SetIcon(IDR_TRAY, g_LanguageString.GetString("title"));
        UpdateTip();
    } else {
        m_TrayIcon.SetIcon(0u);
    }
    FitToTray();
    // A window hidden in a tray that went away would be lost: it waits in the task bar.
    if (m_InTaskbar && !isVisible())
        showMinimized();
}

void tMainFrame::OnHide() {
    // A new entry left unsaved is given up, as Esc does: shown again, the window shows the
    // day's people, not a picture without a name.
    m_Calendar.CancelEntry();
    // Without a tray, hiding would lose the window: it goes to the task bar instead.
    if (m_InTaskbar)
        showMinimized();
    else
        hide();
}

void tMainFrame::SetMode(int mode) {
    m_Mode = mode;
    // Any other mode changes nothing else.
    if (!m_Deck || (mode != kModeBrowse && mode != kModeGender && mode != kModePicture))
        return;
    const int page = mode == kModeGender ? 1 : mode == kModePicture ? 2 : 0;
    const bool wasAdding = m_Deck->m_Selected != 0;
    QWidget* focus = QApplication::focusWidget();
    m_Deck->Select(page);
    m_Calendar.SetNameEditable(page != 0);
    // A key that hid its own button leaves the keyboard on the next step: the day after
    // adding, the page's first choice while adding.
    if (page == 0 && wasAdding && m_Calendar.m_SelectedDay >= 1) {
        if (tDayCell* cell =
                m_Calendar.m_DayCells[m_Calendar.m_SelectedDay + m_Calendar.m_FirstWeekday])
            cell->setFocus(Qt::OtherFocusReason);
    } else if (page != 0 && focus && !focus->isVisible() && m_PageFocus[page]) {
        m_PageFocus[page]->setFocus(Qt::OtherFocusReason);
    }
}

bool tMainFrame::event(QEvent* event) {
    // A reminder that shows is the program's first business: whoever brings the program to
    // the keyboard (its start, Alt+Tab, the tray) brings it to the reminder.
    if (event->type() == QEvent::WindowActivate && m_AlarmFrame.isVisible())
        m_AlarmFrame.activateWindow();
    if (event->type() != tWindowMessageEvent::EventType())
        return tLayoutFrame::event(event);
    auto* message = static_cast<tWindowMessageEvent*>(event);
    if (message->m_Message == kTrayMessage) {
        message->m_Result = m_TrayIcon.OnTrayNotification(message->m_WParam, message->m_LParam);
    } else if (message->m_Message == WM_COMMAND) {
        if (message->m_WParam == kCommandShow)
            OnShow();
        else if (message->m_WParam == kCommandHide)
            OnHide();
        else if (message->m_WParam == kCommandExit)
            OnExit();
        else if (message->m_WParam == kCommandImport)
            m_Transfer.OnImport();
        else if (message->m_WParam == kCommandExport)
            m_Transfer.OnExport();
        else if (message->m_WParam == kCommandFind)
            OnFind();
        else if (message->m_WParam == kCommandSyncNow)
            m_BookSync.SyncNow();
        else if (message->m_WParam == kCommandBooks)
            OnBooks();
        else if (message->m_WParam >= kCommandAlarmHour &&
                 message->m_WParam < kCommandAlarmHour + 24)
            SetAlarmHour(static_cast<int>(message->m_WParam - kCommandAlarmHour));
    } else if (message->m_Message == WM_CLOSE) {
        close();
    }
    return true;
}

void tMainFrame::OnShow() {
    showNormal();
    SetForegroundWindow(this);
}

void tMainFrame::OnExit() {
    PostMessage(this, WM_CLOSE, 0, 0);
}

void tMainFrame::OnHelpInfo() {
    const std::string path = std::string("Cal_Data\\") + g_LanguageString.GetShortName() + ".rtf";
    if (ShellExecute(this, "open", path.c_str()))
        return;
    // No program opens the document here: the same help in a window of our own.
    if (!m_HelpWindow)
        m_HelpWindow = std::make_unique<tHelpWindow>();
    if (!m_HelpWindow->ShowDocument(path, MessageText(tMessage::HelpTitle)))
        AfxMessageBox(MessageText(tMessage::NoHelpProgram, {FullPath(path)}));
}

int tMainFrame::OnQueryNewPalette() {
    // On a true-colour display realising the palette changes no entry: nothing to repaint.
    const int changed = m_Palette.RealizePalette();
    if (changed != 0)
        update();
    return changed;
}

void tMainFrame::OnPaletteChanged(const QWidget* changedBy) {
    if (changedBy != this)
        OnQueryNewPalette();
}

void tMainFrame::OnEraseBkgnd(QPainter& painter) {
    painter.fillRect(rect(), ToQColor(kLightBlue));
}

void tMainFrame::keyPressEvent(QKeyEvent* event) {
    if (!m_Keys.OnKey(event))
        tLayoutFrame::keyPressEvent(event);
}

void tMainFrame::closeEvent(QCloseEvent* event) {
    OnClose();
    event->accept();
}

void tMainFrame::OnClose() {
    if (m_Closing)
        return;
    m_Closing = true;
    // Asked to end before the settings were read (during a message at start): the defaults
    // must not replace the user's settings.
    if (m_SettingsRead)
        SaveSettings();
    m_AlarmFrame.Withdraw();
    // The chime's stream is ended while the sound server's thread still runs, and given a
    // moment: torn down at the last moment with the rest of the program, PulseAudio's loop
    // aborted on it now and then (1 exit in 50 after a reminder).
    if (StopSound())
        QThread::msleep(100);
    // The main window's end is the program's end (asked during a message at start, the main
    // loop then never starts: IsClosing).
    QCoreApplication::exit(0);
}

void tMainFrame::SaveSettings() {
    WINDOWPLACEMENT placement;
    tDataFile& file = m_Calendar.m_DataFile;
    bool written = !GetWindowPlacement(this, &placement) || file.WriteWindowPlacement(placement);
    written = file.WriteNotifyInAdvance(m_Calendar.m_NotifyAdvance) && written;
    written = file.WriteNotifyDays(m_Calendar.m_NotifyDays) && written;
    if (!written)
        AfxMessageBox(MessageText(tMessage::SettingsFailed) + "\n" +
                      MessageText(MessageForFault(file.LastFault()), {file.GetFileName()}));
}

void tMainFrame::SetAlarmHour(int hour) {
    tDataFile& file = m_Calendar.m_DataFile;
    if (hour == file.ReadAlarmHour())
        return;
    if (!file.WriteAlarmHour(hour))
        AfxMessageBox(MessageText(tMessage::SettingsFailed) + "\n" +
                      MessageText(MessageForFault(file.LastFault()), {file.GetFileName()}));
}

void tMainFrame::ShowWindowMenu(QPoint at) {
    QMenu menu;
    if (const tMenuResource* resource = LoadMenu(m_TrayIcon.m_Data.uID))
        for (const tMenuResourceItem& item : resource->m_Items)
            menu.addAction(ToQString(g_LanguageString.GetString(item.m_Text.c_str())))
                ->setData(item.m_Command);
    if (!menu.actions().isEmpty())
        menu.setDefaultAction(menu.actions().first());
    menu.addSeparator();
    for (const auto& [message, command] : {std::pair{tMessage::ImportMenu, kCommandImport},
                                           std::pair{tMessage::ExportMenu, kCommandExport},
                                           std::pair{tMessage::FindMenu, kCommandFind}})
        menu.addAction(ToQString(MessageText(message)))->setData(command);
    menu.addAction(ToQString(MessageText(tMessage::BooksMenu)))->setData(kCommandBooks);
    if (m_BookSync.HasBooks())
        menu.addAction(ToQString(MessageText(tMessage::SyncNowMenu)))->setData(kCommandSyncNow);
    // The hour from which a new day's reminders come.
    QMenu* hours = menu.addMenu(ToQString(MessageText(tMessage::RemindAt)));
    const int current = m_Calendar.m_DataFile.ReadAlarmHour();
    for (int hour = 0; hour < 24; ++hour) {
        QAction* action = hours->addAction(QString("%1:00").arg(hour, 2, 10, QChar('0')));
        action->setCheckable(true);
        action->setChecked(hour == current);
        action->setData(kCommandAlarmHour + hour);
    }
    TrackPopupMenu(&menu, at, this);
}

void tMainFrame::OnBooks() {
    if (!m_BooksDialog)
        m_BooksDialog = new tBooksDialog(m_BookSync, this);
    m_BooksDialog->Refresh();
    m_BooksDialog->show();
    m_BooksDialog->raise();
    m_BooksDialog->activateWindow();
}

void tMainFrame::OnFind() {
    if (!m_FindField)
        return;
    m_FindField->setFont(m_NormalFont);
    m_FindField->Open();
}

std::string tMainFrame::TipText(const tDataFile& file, int notifyDays, const CTime& now,
                                int waiting, const tBookLinks::tBirthYears& years) {
    const tWorkStep step;
    std::string tip = g_LanguageString.GetString("title");
    // The address books' waiting contacts keep their line whatever the birthdays take.
    std::string waitingLine;
    if (waiting > 0)
        waitingLine.append("\n").append(
            MessageText(tMessage::SyncWaiting, {std::to_string(waiting)}));
    const size_t kRoom = sizeof(NOTIFYICONDATA::szTip) - 1 - waitingLine.size();
    for (const tUpcoming::tItem& item :
         tUpcoming::Find(file, now.GetYear(), now.GetMonth(), now.GetDay(), notifyDays)) {
        const std::string when =
            item.m_InDays == 0   ? MessageText(tMessage::Today)
            : item.m_InDays == 1 ? MessageText(tMessage::Tomorrow)
                                 : MessageText(tMessage::InDays, {std::to_string(item.m_InDays)});
        const std::optional<int> age =
            years.empty()
                ? std::nullopt
                : tBookLinks::Age(years, item.m_Year, item.m_Month, item.m_Day, item.m_Name);
        const std::string who =
            age ? MessageText(tMessage::TurnsAge, {item.m_Name, std::to_string(*age)})
                : item.m_Name;
        const std::string line = Joined({"\n", who, ": ", when});
        // What does not fit is said with an ellipsis, never cut in the middle of a name.
        if (tip.size() + line.size() > kRoom - 2) {
            tip += "\n\x85";
            break;
        }
        tip += line;
    }
    return tip + waitingLine;
}

void tMainFrame::UpdateTip() {
    if (!m_TrayIcon.IsShown())
        return;
    const std::string tip = TipText(m_Calendar.m_DataFile, m_Calendar.m_NotifyDays,
                                    CTime::GetCurrentTime(), m_BooksWaiting, m_BirthYears);
    if (tip != m_TrayIcon.m_Data.szTip)
        m_TrayIcon.SetIcon(IDR_TRAY, tip.c_str());
}

void tMainFrame::OnMinute() {
    UpdateTip();
    if (m_Mode == kModeBrowse && m_Calendar.m_Month >= 1)
        m_Calendar.FillMonth(m_Calendar.m_Month);
}

void tMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void tMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toLocal8Bit().toStdString());
    event->acceptProposedAction();
    // The review is a modal dialog: it opens once the drop is over.
    QMetaObject::invokeMethod(
        this, [this, paths] { m_Transfer.ImportFiles(paths); }, Qt::QueuedConnection);
}
