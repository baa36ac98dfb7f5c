#include "controls/tDeleteButton.h"

#include "app/MainFrameAccess.h"
#include "data/tCalendar.h"
#include "platform/WindowMessage.h"

bool tDeleteButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    MakePictureLooks(m_RaisedFrame, m_SunkenFrame, m_Picture, "Cal_Data\\trash.bmp");
    return true;
}

void tDeleteButton::OnClick(int) {
    if (tMainFrame* frame = GetMainFrame())
        MainFrame::Calendar(*frame).DeletePerson();
}
