#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"

// Steps to the next (nonzero identifier) or previous picture of the gender.
class tPictureStepButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    void OnClick(int value) override;

    tFrameStyle m_RaisedFrame;
    tFrameStyle m_SunkenFrame;
};
