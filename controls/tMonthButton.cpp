#include "controls/tMonthButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "controls/tAccessibleControl.h"
#include "data/tCalendar.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tMonthButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    m_Looks[kNormal].m_Text = OrEmpty(text);
    m_PlainFrame.SetSide(0, tFrameStyle::kTop, kWhite, 1);
    m_PlainFrame.SetSide(0, tFrameStyle::kRight, kBlack, 1);
    m_PlainFrame.SetSide(0, tFrameStyle::kBottom, kWhite, 1);
    m_PlainFrame.SetSide(0, tFrameStyle::kLeft, kWhite, 1);
    m_Looks[kPressed].m_Text = OrEmpty(text);
    m_TabFrame.SetSide(0, tFrameStyle::kTop, kWhite, 2);
    m_TabFrame.SetSide(0, tFrameStyle::kRight, kBlack, 2);
    m_TabFrame.SetSide(0, tFrameStyle::kLeft, kWhite, 2);
    SetMonthLook(1);
    m_PressedOffset = QPoint(0, 0);
    return true;
}

void tMonthButton::SetMonthLook(int mode) {
    if ((mode == 0 || mode == 1) && m_Shown != (mode == 0)) {
        m_Shown = mode == 0;
        QAccessible::State changed;
        changed.selected = true;
        tAccessibleControl::StateChanged(this, changed);
    }
    if (mode == 0 || mode == 1) {
        for (int look : {kNormal, kPressed}) {
            m_Looks[look].m_Fill = true;
            m_Looks[look].m_FillColour = kLightBlue;
            m_Looks[look].m_TextColour = mode == 0 ? kWhite : kLightGrey;
            m_Looks[look].m_Shadow = true;
            m_Looks[look].m_ShadowColour = mode == 0 ? kBlack : kDarkBlue;
            m_Looks[look].m_Frame = mode == 0 ? &m_TabFrame : &m_PlainFrame;
        }
    }
    update();
}

void tMonthButton::OnClick(int) {
    if (tMainFrame* frame = GetMainFrame())
        MainFrame::Calendar(*frame).SelectMonth(GetDlgCtrlID());
}
