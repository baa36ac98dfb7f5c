#pragma once

#include "layout/tLayoutContainer.h"

// A box whose children stand side by side, from left to right.
class tLayoutRow : public tLayoutContainer {
public:
    tLayoutRow() { m_Axis = 0; }
    void Measure() override { BoxMeasure(); }
    void Place() override { BoxArrange(); }
};
