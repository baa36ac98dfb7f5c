#pragma once

#include "controls/tFramedButton.h"

// Confirms a new person: saves when the name is valid, beeps when it is not.
class tOkButton : public tFramedButton {
public:
    bool Create(const char* text, QWidget* parent, int id) override;
    void OnClick(int value) override;
};
