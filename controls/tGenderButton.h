#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// Chooses a man (nonzero identifier) or a woman while a new person is entered.
class tGenderButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    void OnClick(int value) override;

    tFrameStyle m_RaisedFrame;
    tFrameStyle m_SunkenFrame;
    tDib m_Picture;
};
