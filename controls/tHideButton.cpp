#include "controls/tHideButton.h"

#include "alarm/tAlarmFrame.h"
#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tHideButton::Create(const char* text, QWidget* parent, int id) {
    if (!CreateShown(text, parent, id))
        return false;
    MakeTextLooks(text, kOrange, kWhite);
    m_Looks[kPressed].m_TextColour = kYellow;
    return true;
}

void tHideButton::OnClick(int) {
    if (auto* alarm = dynamic_cast<tAlarmFrame*>(parentWidget()); alarm && GetDlgCtrlID() != 0) {
        alarm->Acknowledge();
        return;
    }
    if (tMainFrame* frame = GetMainFrame(); frame && parentWidget() == MainFrame::Widget(*frame))
        MainFrame::Hide(*frame);
    else if (QWidget* window = parentWidget())
        window->hide();
}
