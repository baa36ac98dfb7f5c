#include "controls/tCheckButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tCheckButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    m_Looks[kNormal].m_Fill = true;
    m_Looks[kNormal].m_FillColour = kLightBlue;
    m_Looks[kPressed].m_Fill = true;
    m_Looks[kPressed].m_FillColour = kLightBlue;
    m_FalsePicture.Load("Cal_Data\\false.bmp");
    m_TruePicture.Load("Cal_Data\\true.bmp");
    m_Looks[kNormal].m_Image = &m_FalsePicture;
    m_Looks[kPressed].m_Image = &m_TruePicture;
    m_MinSize[0] = m_FalsePicture.GetWidth();
    m_MinSize[1] = m_FalsePicture.GetHeight();
    m_Fixed[0] = m_Fixed[1] = true;
    m_PressedOffset = QPoint(0, 0);
    m_IsToggle = true;
    return true;
}

void tCheckButton::OnClick(int value) {
    if (tMainFrame* frame = GetMainFrame())
        MainFrame::Calendar(*frame).OnCheckChanged(GetDlgCtrlID(), value != 0);
}
