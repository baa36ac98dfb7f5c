#pragma once

#include "layout/tLayoutElement.h"

// A gap of exactly its minimum length along its box, stretching across it.
class tLayoutSpacer : public tLayoutElement {
public:
    tLayoutSpacer();
    void Measure() override;
};
