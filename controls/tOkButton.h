#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"

// Confirms a new person: saves when the name is valid, beeps when it is not.
class tOkButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    void OnClick(int value) override;

    tFrameStyle m_RaisedFrame;
    tFrameStyle m_SunkenFrame;
};
