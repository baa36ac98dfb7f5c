#include "controls/tHideButton.h"

#include "app/tApp.h"
#include "controls/Colours.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tHideButton::Create(const char* text, QWidget* parent, int id) {
    if (!tOwnerDrawButton::Create(text, WS_VISIBLE, parent, id))
        return false;
    UseSharedPalette();
    for (int look : {kNormal, kPressed}) {
        m_Looks[look].m_Text = text ? text : "";
        m_Looks[look].m_Fill = true;
        m_Looks[look].m_FillColour = kOrange;
        m_Looks[look].m_TextColour = look == kNormal ? kWhite : kYellow;
        m_Looks[look].m_Shadow = true;
        m_Looks[look].m_ShadowColour = kBlack;
    }
    return true;
}

void tHideButton::OnClick(int) {
    if (auto* alarm = dynamic_cast<tAlarmFrame*>(parentWidget()); alarm && GetDlgCtrlID() != 0) {
        alarm->Acknowledge();
        return;
    }
    if (tMainFrame* frame = GetMainFrame(); frame && parentWidget() == frame)
        frame->OnHide();
    else if (QWidget* window = parentWidget())
        window->hide();
}
