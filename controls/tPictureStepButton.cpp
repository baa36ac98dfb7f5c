#include "controls/tPictureStepButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tPictureStepButton::Create(const char* text, QWidget* parent, int id) {
    return CreateWithText(text, parent, id, kLightBlue, kLightGrey);
}

void tPictureStepButton::OnClick(int) {
    if (tMainFrame* frame = GetMainFrame())
        GetDlgCtrlID() != 0 ? MainFrame::Calendar(*frame).NextPicture()
                            : MainFrame::Calendar(*frame).PreviousPicture();
}
