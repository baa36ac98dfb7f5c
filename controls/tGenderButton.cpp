#include "controls/tGenderButton.h"

#include "app/MainFrameAccess.h"
#include "data/tCalendar.h"
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
    if (!frame || MainFrame::Mode(*frame) != tEditModes::kModeGender)
        return;
    MainFrame::Calendar(*frame).SetGender(GetDlgCtrlID() != 0 ? "m" : "f");
    MainFrame::Calendar(*frame).SetPicture(0);
    MainFrame::SetMode(*frame, tEditModes::kModePicture);
}
