#pragma once

#include "controls/tFramedButton.h"

// The waste bin: deletes the person shown.
class tDeleteButton : public tFramedButton {
public:
    bool Create(const char* text, QWidget* parent, int id) override;
    void OnClick(int value) override;
};
