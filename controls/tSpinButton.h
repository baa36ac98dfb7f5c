#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// An arrow that raises (identifier 1) or lowers the days of notice.
class tSpinButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    void OnClick(int value) override;

    tFrameStyle m_RaisedFrame;
    tFrameStyle m_SunkenFrame;
    tDib m_Picture;
};
