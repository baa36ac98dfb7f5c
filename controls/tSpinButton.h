#pragma once

#include "controls/tFramedButton.h"

// An arrow that raises (identifier 1) or lowers the days of notice.
class tSpinButton : public tFramedButton {
public:
    bool Create(const char* text, QWidget* parent, int id) override;
    void OnClick(int value) override;
};
