#include "controls/tPersonStepButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tPersonStepButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateWithText(text, parent, id, kOrange, kWhite))
        return false;
    m_Looks[kDisabled].m_Fill = true;
    m_Looks[kDisabled].m_FillColour = kLightBlue;
    m_Fixed[0] = m_Fixed[1] = true;
    return true;
}

void tPersonStepButton::OnClick(int) {
    if (tMainFrame* frame = GetMainFrame())
        GetDlgCtrlID() != 0 ? MainFrame::Calendar(*frame).NextPerson()
                            : MainFrame::Calendar(*frame).PreviousPerson();
}
