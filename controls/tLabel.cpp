#include "controls/tLabel.h"

#include "platform/CodePage.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

bool tLabel::Create(const char* text, QWidget* parent) {
    if (!tOwnerDrawButton::Create(text, WS_VISIBLE, parent, -1))
        return false;
    m_Looks[kDisabled].m_Text = OrEmpty(text);
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    return true;
}

bool tLabel::LoadPicture(const char* path) {
    if (!m_Picture.Load(path))
        return false;
    m_Looks[kDisabled].m_Image = &m_Picture;
    return true;
}

void tLabel::ClearPicture() {
    m_Looks[kDisabled].m_Image = nullptr;
}

void tLabel::SetColours(COLORREF fill, COLORREF text) {
    m_Looks[kDisabled].m_Fill = true;
    m_Looks[kDisabled].m_FillColour = fill;
    m_Looks[kDisabled].m_TextColour = text;
}

void tLabel::SetText(const char* text) {
    SetWindowText(text);
    m_Looks[kDisabled].m_Text = OrEmpty(text);
    m_Looks[kDisabled].m_TextIsUtf8 = false;
}

void tLabel::SetUtf8Text(const std::string& text) {
    SetWindowText(CodePage::AnsiFromUtf8(text).c_str());
    setAccessibleName(QString::fromStdString(text).trimmed());
    m_Looks[kDisabled].m_Text = text;
    m_Looks[kDisabled].m_TextIsUtf8 = true;
}
