#pragma once

#include "controls/tOwnerDrawButton.h"

// Hides the window it sits in.  With a nonzero identifier (the alarm window's) it also
// acknowledges the alarm: today becomes the last alarm date and the scan is armed again.
class tHideButton : public tOwnerDrawButton {
public:
    void OnClick(int value) override;
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
};
