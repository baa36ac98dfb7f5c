#pragma once

#include "layout/tLayoutElement.h"

// Soaks up space: stretchable with weight 1 and left out of equalisation.
class tLayoutFiller : public tLayoutElement {
public:
    tLayoutFiller() { m_KeepSize[0] = m_KeepSize[1] = true; }
};
