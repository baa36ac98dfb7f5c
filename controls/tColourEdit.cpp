#include "controls/tColourEdit.h"

#include "platform/CodePage.h"
#include "platform/TextMetrics.h"
#include "platform/WindowMessage.h"

#include <QKeyEvent>
#include <algorithm>

tColourEdit::tColourEdit() {
    setFrame(false);
}

bool tColourEdit::Create(uint32_t style, QWidget* parent, int) {
    if (!parent)
        return false;
    setParent(parent);
    setAlignment((style & ES_CENTER) ? Qt::AlignCenter : Qt::AlignLeft);
    setGeometry(0, 0, 0, 0);
    setVisible((style & WS_VISIBLE) != 0);
    return true;
}

void tColourEdit::SetColours(COLORREF text, COLORREF background, COLORREF brush) {
    // The brush fills the whole control, as an edit control's brush does.  Qt paints no cells
    // of their own behind the characters, so the text's background is only the window role.
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, ToQColor(text));
        colours.setColor(group, QPalette::Base, ToQColor(brush));
        colours.setColor(group, QPalette::Window, ToQColor(background));
    }
    setPalette(colours);
}

void tColourEdit::Measure() {
    // Measured in the default font, with the text the field holds now.
    int width = 0, height = 0;
    Gdi::TextExtent(GetWindowText(), &width, &height);
    m_MeasuredSize[0] = width + 8;
    m_MeasuredSize[1] = height + 6;
}

std::string tColourEdit::GetWindowText() const {
    return FromQString(text());
}

void tColourEdit::SetWindowText(const std::string& text) {
    setText(ToQString(text));
}

void tColourEdit::SetInputRule(tInputPolicy::tRule rule, tInputPolicy::tMessage message) {
    new tInputPolicy(this, std::move(rule), std::move(message));
}
