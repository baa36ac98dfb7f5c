#pragma once

#include "platform/Gdi.h"

#include <string>

class tDib;
class tFrameStyle;

// One of a control's three looks (normal, pressed, disabled): a fill, a centred picture, a
// text with an optional shadow, and a border drawn last.  Frames and pictures are the
// control's own; a look only points at them.
struct tButtonLook {
    bool m_Fill = false;
    bool m_Shadow = false;
    COLORREF m_FillColour = 0;
    COLORREF m_TextColour = 0;
    COLORREF m_ShadowColour = 0;
    const tFrameStyle* m_Frame = nullptr;
    tDib* m_Image = nullptr;
    std::string m_Text;
    bool m_TextIsUtf8 = false; // else Windows-1252, as every text of the program
};
