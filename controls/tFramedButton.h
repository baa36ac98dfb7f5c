#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// A button of the editing area: raised, sunk while pressed, showing a picture or a text that
// its kind chooses when it is created.
class tFramedButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id) = 0;

    tFrameStyle m_RaisedFrame;
    tFrameStyle m_SunkenFrame;
    tDib m_Picture; // for the buttons that show one

protected:
    // Shows the button with its text on the fill: raised, sunk while pressed.
    bool CreateWithText(const char* text, QWidget* parent, int id, COLORREF fill,
                        COLORREF textColour) {
        if (!CreateShown(text, parent, id))
            return false;
        MakeTextLooks(text, fill, textColour, &m_RaisedFrame, &m_SunkenFrame);
        return true;
    }
};
