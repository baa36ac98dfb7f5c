#include "controls/tSpinButton.h"

#include "app/MainFrameAccess.h"
#include "data/tCalendar.h"
#include "platform/WindowMessage.h"

bool tSpinButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    MakePictureLooks(m_RaisedFrame, m_SunkenFrame, m_Picture,
                     GetDlgCtrlID() == 1 ? "Cal_Data\\inc.bmp" : "Cal_Data\\dec.bmp");
    return true;
}

void tSpinButton::OnClick(int) {
    tMainFrame* frame = GetMainFrame();
    if (!frame)
        return;
    if (GetDlgCtrlID() == 1)
        MainFrame::Calendar(*frame).IncreaseNotifyDays();
    else
        MainFrame::Calendar(*frame).DecreaseNotifyDays();
}
