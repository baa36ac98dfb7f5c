#include "alarm/tAlarmFrame.h"

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
#include "platform/Gdi.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "support/tLanguageString.h"

#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "support/Messages.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <cstdio>

using namespace Colours;

bool tAlarmFrame::Create(QWidget*) {
    // A pop-up above every other window, without a caption or a task-bar entry.  It has no
    // parent window, so it shows also while the main window is hidden in the tray.  An
    // ordinary window type, not a tool window: KWin hides the tool windows of an inactive
    // program, which would take the alarm away at the first click elsewhere.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(10, 10, 90, 90);
    // Chosen in the desktop's notifications: the notice shows the window, "OK" acknowledges.
    m_Notifier.m_OnDefault = [this] {
        show();
        raise();
        activateWindow();
    };
    m_Notifier.m_OnOk = [this] { Acknowledge(); };
    return OnCreate() == 0;
}

int tAlarmFrame::OnCreate() {
    tMainFrame* main = GetMainFrame();
    const QFont* large = main ? &main->m_LargeFont : nullptr;
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
    const int w = m_MeasuredSize[0], h = m_MeasuredSize[1];
    setGeometry((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
                h);
    return 0;
}

void tAlarmFrame::ShowAlarm() {
    const std::string picture = tCalendar::LoadPersonPicture(*m_PictureView, m_PicturePath);
    m_PictureView->m_Role = QAccessible::Graphic;
    m_PictureView->setAccessibleName(ToQString(MessageText(tMessage::PictureOf, {m_Name})));
    m_PictureView->update();
    m_DateLabel->SetText(tCalendar::DateText(m_Month, m_Day).c_str());
    m_DateLabel->update();
    m_NameLabel->SetText(m_Name.c_str());
    m_NameLabel->setToolTip(ToQString(m_Name)); // a long name is cut in the window
    m_NameLabel->update();
    setAccessibleName(ToQString(g_LanguageString.GetString("alarm title")));
    setAccessibleDescription(ToQString(tCalendar::DateText(m_Month, m_Day) + ": " + m_Name));
    show();
    // Not lost behind other windows, a full-screen one included.
    raise();
    activateWindow();
    // A screen reader reads the alert out as it appears.
    if (QAccessible::isActive()) {
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
    PlayAlarmSound();
    m_Notifier.Show({m_Name, tCalendar::DateText(m_Month, m_Day), FullPath(picture),
                     MessageText(tMessage::OkAction)});
}

void tAlarmFrame::closeEvent(QCloseEvent* event) {
    // Closed by the window manager (Alt+F4): acknowledged, as with the hide button, so that
    // the next alarm still comes.
    event->ignore();
    Acknowledge();
}

void tAlarmFrame::keyPressEvent(QKeyEvent* event) {
    // Enter or Space acknowledges, as the hide button does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space)
        Acknowledge();
    else
        tLayoutFrame::keyPressEvent(event);
}

void tAlarmFrame::Acknowledge() {
    hide();
    m_Notifier.Close();
    if (tMainFrame* frame = GetMainFrame())
        frame->m_Calendar.m_DataFile.WriteLastAlarmDate(CTime::GetCurrentTime());
    if (tApp* app = GetApp())
        app->m_AlarmsArmed = true;
}

void tAlarmFrame::PlayAlarmSound() {
    tRegistry registry;
    registry.SetKey(kSoundKey, HKEY_CURRENT_USER);
    char path[260];
    if (!registry.ReadString(nullptr, path))
        std::snprintf(path, sizeof path, "%s", kDefaultSound);
    PlaySound(path, SND_FILENAME | SND_ASYNC);
}
