#pragma once

#include "layout/tLayoutContainer.h"

// A box whose children stand one below the other, from top to bottom.
class tLayoutColumn : public tLayoutContainer {
public:
    tLayoutColumn() { m_Axis = 1; }
    void Measure() override { BoxMeasure(); }
    void Place() override { BoxArrange(); }
};
