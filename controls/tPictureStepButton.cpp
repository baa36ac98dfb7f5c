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
    if (tMainFrame* frame = GetMainFrame())
        GetDlgCtrlID() != 0 ? frame->m_Calendar.NextPicture() : frame->m_Calendar.PreviousPicture();
}
