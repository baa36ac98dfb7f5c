#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tLabel.h"

// A weekday's initial above its column of days; today's weekday is marked.
class tWeekdayHeader : public tLabel {
public:
    using tLabel::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    // 0: marked; 1: plain.
    void SetHeaderLook(int mode);
    void Measure() override;

    tFrameStyle m_SunkenFrame;
};
