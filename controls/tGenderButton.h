#pragma once

#include "controls/tFramedButton.h"

// Chooses a man (nonzero identifier) or a woman while a new person is entered.
class tGenderButton : public tFramedButton {
public:
    bool Create(const char* text, QWidget* parent, int id) override;
    void OnClick(int value) override;
};
