#include "controls/tSpinButton.h"

#include "app/tApp.h"
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
        frame->m_Calendar.IncreaseNotifyDays();
    else
        frame->m_Calendar.DecreaseNotifyDays();
}
