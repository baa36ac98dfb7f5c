#include "controls/tDayCell.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "controls/tAccessibleControl.h"
#include "data/tCalendar.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tDayCell::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    m_Looks[kNormal].m_Text = OrEmpty(text);
    m_Looks[kPressed].m_Text = OrEmpty(text);
    m_RaisedFrame.SetRaised();
    m_SunkenFrame.SetSunken();
    for (int side = 0; side < 4; ++side)
        m_TodayFrame.SetSide(0, side, kRed, 2);
    m_Looks[kPressed].m_Frame = &m_SunkenFrame;
    m_Looks[kPressed].m_Fill = true;
    m_Looks[kPressed].m_FillColour = kStrongBlue;
    m_Looks[kPressed].m_TextColour = kWhite;
    return true;
}

void tDayCell::SetCellKind(int kind) {
    if (kind == kEmpty) {
        m_Looks[kDisabled].m_Frame = nullptr;
        m_Looks[kDisabled].m_Fill = true;
        m_Looks[kDisabled].m_FillColour = kLightBlue;
        setEnabled(false);
        setFocusPolicy(Qt::NoFocus); // a blank, not a day
        setAccessibleName(QString());
    } else if (kind >= kDay && kind <= kTodayBirthday) {
        const bool birthday = kind == kBirthday || kind == kTodayBirthday;
        const bool today = kind == kToday || kind == kTodayBirthday;
        tButtonLook& look = m_Looks[kNormal];
        look.m_Fill = true;
        look.m_FillColour = birthday ? kOrange : kMidBlue;
        look.m_Frame = today ? &m_TodayFrame : &m_RaisedFrame;
        look.m_TextColour = kind == kBirthday ? kYellow : kLightGrey;
        setEnabled(true);
        setFocusPolicy(Qt::ClickFocus); // the calendar makes one day the grid's tab stop
    }
    m_Kind = kind;
    update();
}

void tDayCell::SetSelected(bool selected) {
    if (selected == m_Selected)
        return;
    m_Selected = selected;
    QAccessible::State changed;
    changed.selected = true;
    tAccessibleControl::StateChanged(this, changed);
}

void tDayCell::OnClick(int) {
    if (tMainFrame* frame = GetMainFrame())
        MainFrame::Calendar(*frame).OnDayClicked(GetDlgCtrlID());
}

void tDayCell::OnDoubleClick() {
    if (tMainFrame* frame = GetMainFrame())
        MainFrame::Calendar(*frame).OnDayDoubleClicked(GetDlgCtrlID());
}

void tDayCell::Measure() {
    MeasureCaption(1, 1);
}
