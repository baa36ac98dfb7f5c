#include "controls/tGenderButton.h"

#include "app/tApp.h"
#include "platform/WindowMessage.h"

bool tGenderButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    MakePictureLooks(m_RaisedFrame, m_SunkenFrame, m_Picture,
                     GetDlgCtrlID() != 0 ? "Cal_Data\\male.bmp" : "Cal_Data\\female.bmp");
    return true;
}

void tGenderButton::OnClick(int) {
    tMainFrame* frame = GetMainFrame();
    if (!frame || frame->m_Mode != tMainFrame::kModeGender)
        return;
    frame->m_Calendar.SetGender(GetDlgCtrlID() != 0 ? "m" : "f");
    frame->m_Calendar.SetPicture(0);
    frame->SetMode(tMainFrame::kModePicture);
}
