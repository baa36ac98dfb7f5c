#include "controls/tPictureStepButton.h"

#include "app/tApp.h"
#include "controls/Colours.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tPictureStepButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    MakeTextLooks(text, kLightBlue, kLightGrey, &m_RaisedFrame, &m_SunkenFrame);
    return true;
}

void tPictureStepButton::OnClick(int) {
    tMainFrame* frame = GetMainFrame();
    if (!frame)
        return;
    if (GetDlgCtrlID() != 0)
        frame->m_Calendar.NextPicture();
    else
        frame->m_Calendar.PreviousPicture();
}
