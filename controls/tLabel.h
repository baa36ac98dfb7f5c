#pragma once

#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// A text and/or a picture on a fill.  Always disabled: it shows its disabled look, takes no
// focus and reports no clicks.
class tLabel : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent);
    // Loads the picture and shows it; a file that cannot be loaded keeps the previous one.
    bool LoadPicture(const char* path);
    // Shows no picture.
    void ClearPicture();
    void SetText(const char* text);

    tDib m_Picture;
};
