#include "alarm/tAlarmFrame.h"

#include "addressbooks/tBookLinks.h"

#include "alarm/tRegistry.h"
#include "app/tApp.h"
#include "controls/Colours.h"
#include "controls/tHideButton.h"
#include "controls/tLabel.h"
#include "data/tCalendar.h"
#include "layout/tLayoutColumn.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tTitleBar.h"
#include "platform/Clock.h"
#include "platform/Gdi.h"
#include "platform/Menu.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/TaskbarHint.h"
#include "platform/WindowMessage.h"
#include "support/tLanguageString.h"

#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "support/Messages.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cstdio>

using namespace Colours;

bool tAlarmFrame::Create(QWidget* owner) {
    m_Owner = owner;
    // A pop-up above every other window, without a caption or a task-bar entry.  It has no
    // parent window, so it shows also while the main window is hidden in the tray.  An
    // ordinary window type, not a tool window: KWin hides the tool windows of an inactive
    // program, which would take the alarm away at the first click elsewhere.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // It comes while the user works in another window: taking the keyboard from there would
    // let typing acknowledge it unseen.  A click, or the notification, gives it the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(10, 10, 90, 90);
    // Chosen in the desktop's notifications: the notice shows the window, "OK" acknowledges,
    // "Later" puts it off for an hour.
    m_Notifier.m_OnDefault = [this] {
        if (m_LaterTimer.isActive())
            return;
        show();
        KeepAbove(this);
        raise();
        activateWindow();
    };
    m_Notifier.m_OnOk = [this] { Acknowledge(); };
    m_Notifier.m_OnLater = [this] { Later(); };
    m_LaterTimer.setSingleShot(true);
    m_LaterTimer.setInterval(kLaterMs);
    QObject::connect(&m_LaterTimer, &QTimer::timeout, this, [this] { ShowAlarm(); });
    return OnCreate() == 0;
}

int tAlarmFrame::OnCreate() {
    tMainFrame* main = GetMainFrame();
    const QFont* large = main ? &MainFrame::LargeFont(*main) : nullptr;
    auto* column = new tLayoutColumn;
    AddChild(column);

    auto* titleRow = new tLayoutRow;
    column->AddChild(titleRow);
    auto* hide = new tHideButton;
    titleRow->AddChild(hide);
    hide->Create("\xA4", this, 1);
    hide->setAccessibleName(ToQString(MessageText(tMessage::OkAction)));
    hide->m_Fixed[0] = hide->m_Fixed[1] = true;
    if (large)
        hide->setFont(*large);
    auto* title = new tTitleBar;
    titleRow->AddChild(title);
    title->Create(g_LanguageString.GetString("alarm title"), this);
    title->UseWindowLook(large);
    title->m_Fixed[1] = true;

    // The date and the name: dark blue on the background, in the large font.
    auto makeText = [&](const char* blanks) {
        auto* label = new tLabel;
        column->AddChild(label);
        label->Create(blanks, this);
        label->SetColours(kLightBlue, kDarkBlue);
        if (large)
            label->setFont(*large);
        label->m_MinSize[0] = 30;
        label->m_MinSize[1] = 12;
        return label;
    };
    m_DateLabel = makeText("             ");
    m_DateLabel->m_Fixed[1] = true;
    column->AddChild(new tLayoutFiller);
    m_PictureView = new tLabel;
    column->AddChild(m_PictureView);
    m_PictureView->Create("", this);
    m_PictureView->m_MinSize[0] = m_PictureView->m_MinSize[1] = 180;
    column->AddChild(new tLayoutFiller);
    m_NameLabel = makeText("               ");
    // A long name shows how it begins.
    m_NameLabel->SetTextAlignment(DT_CENTER | DT_END_ELLIPSIS);

    // Sized to the content once; later texts do not resize the window.
    m_X = x();
    m_Y = y();
    m_Width = width();
    m_Height = height();
    tLayoutFrame::Measure();
    Place();
    tLayoutFrame::Measure();
    UpdateSizeLimits();
    setFixedSize(m_MeasuredSize[0], m_MeasuredSize[1]);
    Centre();
    m_FocusFrame.Watch(this);
    return 0;
}

void tAlarmFrame::OnEraseBkgnd(QPainter& painter) {
    painter.fillRect(rect(), ToQColor(kLightBlue));
}

void tAlarmFrame::Centre() {
    const int w = m_MeasuredSize[0], h = m_MeasuredSize[1];
    setGeometry((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
                h);
}

void tAlarmFrame::ShowAlarm() {
    const std::string picture = tCalendar::LoadPersonPicture(*m_PictureView, m_PicturePath);
    m_PictureView->m_Role = QAccessible::Graphic;
    m_PictureView->setAccessibleName(ToQString(MessageText(tMessage::PictureOf, {m_Name})));
    m_PictureView->update();
    m_DateLabel->SetText(tCalendar::DateText(m_Month, m_Day).c_str());
    m_DateLabel->update();
    const std::string shown = m_Exact.empty() ? CodePage::Utf8FromAnsi(m_Name) : m_Exact;
    m_NameLabel->SetUtf8Text(shown);
    m_NameLabel->setToolTip(QString::fromStdString(shown)); // a long name is cut in the window
    m_NameLabel->update();
    setAccessibleName(ToQString(g_LanguageString.GetString("alarm title")));
    setAccessibleDescription(ToQString(tCalendar::DateText(m_Month, m_Day) + ": ") +
                             QString::fromStdString(shown));
    m_LaterTimer.stop();
    // Centred each time: a window manager may have placed the previous one elsewhere.
    if (!isVisible())
        Centre();
    show();
    // Not lost behind other windows, a full-screen one included, from the first reminder of a
    // sequence to the last.
    KeepAbove(this);
    raise();
    // A user already working in this program (the calendar, or the reminder before this one)
    // gets the keyboard on the reminder: keys are aimed here anyway, and the grace below still
    // holds.  Anyone else keeps the keyboard where it is.
    if (QApplication::activeWindow() || m_HadKeyboard)
        activateWindow();
    m_HadKeyboard = false;
    m_KeysFrom = Clock::GetTickCount() + kKeyGraceMs;
    m_KeyDown = 0;
    // A screen reader reads the alert out as it appears.
    if (QAccessible::isActive()) {
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
    PlayAlarmSound();
    m_Notifier.Show({MessageText(tMessage::BirthdaySummary, {WhoTurnsWhat()}),
                     tCalendar::DateText(m_Month, m_Day), FullPath(picture),
                     MessageText(tMessage::OkAction), MessageText(tMessage::LaterAction)});
}

std::string tAlarmFrame::WhoTurnsWhat() const {
    // The age where an address book gave the year; the window itself stays as it is.
    tBookLinks links;
    if (!links.Load(kLinksPath))
        return m_Name;
    const CTime now = CTime::GetCurrentTime();
    const bool nextYear =
        m_Month < now.GetMonth() || (m_Month == now.GetMonth() && m_Day < now.GetDay());
    const std::optional<int> age = tBookLinks::Age(
        links.BirthYears(), now.GetYear() + (nextYear ? 1 : 0), m_Month, m_Day, m_Name);
    return age ? MessageText(tMessage::TurnsAge, {m_Name, std::to_string(*age)}) : m_Name;
}

void tAlarmFrame::closeEvent(QCloseEvent* event) {
    // Closed by the window manager (Alt+F4): acknowledged, as with the hide button, so that
    // the next alarm still comes.
    event->ignore();
    Acknowledge();
}

bool tAlarmFrame::event(QEvent* event) {
    if (event->type() == tWindowMessageEvent::EventType()) {
        auto* message = static_cast<tWindowMessageEvent*>(event);
        if (message->m_Message == WM_COMMAND && message->m_WParam == kCommandLater)
            Later();
        else if (message->m_Message == WM_COMMAND && message->m_WParam == kCommandOk)
            Acknowledge();
        return true;
    }
    // Keys count only a while after the window got the keyboard, too.
    if (event->type() == QEvent::WindowActivate)
        m_KeysFrom = std::max(m_KeysFrom, Clock::GetTickCount() + kKeyGraceMs);
    return tLayoutFrame::event(event);
}

void tAlarmFrame::keyPressEvent(QKeyEvent* event) {
    // Enter or Space acknowledges, as the hide button does: a deliberate press, after the
    // grace, released on this window.  A key within the grace starts it again, so that a
    // user typing on never acknowledges by chance.
    const bool acknowledging = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                               event->key() == Qt::Key_Space;
    if (event->isAutoRepeat() && acknowledging)
        return;
    const uint32_t now = Clock::GetTickCount();
    if (static_cast<int32_t>(now - m_KeysFrom) < 0) {
        m_KeysFrom = now + kKeyGraceMs;
        m_KeyDown = 0;
        return;
    }
    if (acknowledging)
        m_KeyDown = event->key();
    else
        tLayoutFrame::keyPressEvent(event);
}

void tAlarmFrame::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat() || m_KeyDown == 0 || event->key() != m_KeyDown) {
        tLayoutFrame::keyReleaseEvent(event);
        return;
    }
    m_KeyDown = 0;
    Acknowledge();
}

void tAlarmFrame::contextMenuEvent(QContextMenuEvent* event) {
    // Choices without keys: put off for an hour, or acknowledge.
    QMenu menu;
    menu.addAction(ToQString(MessageText(tMessage::LaterAction)))->setData(kCommandLater);
    menu.addAction(ToQString(MessageText(tMessage::OkAction)))->setData(kCommandOk);
    TrackPopupMenu(&menu, event->globalPos(), this);
}

void tAlarmFrame::Acknowledge() {
    m_HadKeyboard = isActiveWindow();
    hide();
    // The keyboard goes back where it came from; a next reminder takes it again.
    if (m_HadKeyboard && m_Owner && m_Owner->isVisible())
        m_Owner->activateWindow();
    m_LaterTimer.stop();
    m_Notifier.Close();
    if (tApp* app = GetApp())
        app->AcknowledgeAlarm();
}

void tAlarmFrame::Later() {
    hide();
    m_Notifier.Close();
    StopSound();
    m_LaterTimer.start();
}

void tAlarmFrame::Withdraw() {
    m_LaterTimer.stop();
    m_Notifier.CloseNow();
}

void tAlarmFrame::PlayAlarmSound() {
    tRegistry registry;
    registry.SetKey(kSoundKey, HKEY_CURRENT_USER);
    char path[260];
    if (!registry.ReadString(nullptr, path))
        std::snprintf(path, sizeof path, "%s", kDefaultSound);
    PlaySound(path, SND_FILENAME | SND_ASYNC);
}
