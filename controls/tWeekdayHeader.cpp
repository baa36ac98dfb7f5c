#include "controls/tWeekdayHeader.h"

#include "controls/Colours.h"
#include "platform/OrEmpty.h"

using namespace Colours;

bool tWeekdayHeader::Create(const char* text, QWidget* parent, int) {
    if (!tLabel::Create(text, parent))
        return false;
    m_Role = QAccessible::ColumnHeader;
    UseSharedPalette();
    m_Looks[kDisabled].m_Text = OrEmpty(text);
    m_SunkenFrame.SetSunken();
    SetHeaderLook(1);
    return true;
}

void tWeekdayHeader::SetHeaderLook(int mode) {
    if (mode == 0 || mode == 1) {
        tButtonLook& look = m_Looks[kDisabled];
        look.m_Fill = true;
        look.m_FillColour = kLightBlue;
        look.m_TextColour = mode == 0 ? kWhite : kLightGrey;
        look.m_Shadow = true;
        look.m_ShadowColour = kBlack;
        look.m_Frame = mode == 0 ? &m_SunkenFrame : nullptr;
    }
    update();
}

void tWeekdayHeader::Measure() {
    MeasureCaption(1, 1);
}
