#pragma once

#include "controls/tFramedButton.h"

// Steps to the next (nonzero identifier) or previous person of the day.
class tPersonStepButton : public tFramedButton {
public:
    bool Create(const char* text, QWidget* parent, int id) override;
    void OnClick(int value) override;
};
