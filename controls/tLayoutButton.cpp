#include "controls/tLayoutButton.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "platform/OrEmpty.h"
#include "platform/TextMetrics.h"
#include "platform/WindowMessage.h"

#include <algorithm>

tLayoutButton::tLayoutButton() {
    setFocusPolicy(Qt::StrongFocus);
}

bool tLayoutButton::Create(const char* text, uint32_t style, QWidget* parent, int id) {
    if (!parent)
        return false;
    setParent(parent);
    m_Id = id;
    SetWindowText(text);
    setGeometry(0, 0, 0, 0);
    setVisible((style & WS_VISIBLE) != 0);
    return true;
}

void tLayoutButton::SetWindowText(const char* text) {
    m_Caption = OrEmpty(text);
    setAccessibleName(ToQString(m_Caption).trimmed());
}

void tLayoutButton::MeasureCaption(int extraWidth, int extraHeight) {
    int width = 0, height = 0;
    Gdi::TextExtent(m_Caption, &width, &height);
    m_MeasuredSize[0] = width + extraWidth;
    m_MeasuredSize[1] = height + extraHeight;
}

void tLayoutButton::Measure() {
    MeasureCaption(16, 8);
}
