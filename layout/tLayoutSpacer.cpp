#include "layout/tLayoutSpacer.h"

#include "layout/tLayoutContainer.h"

tLayoutSpacer::tLayoutSpacer() {
    m_MinSize[0] = m_MinSize[1] = 4;
    m_Fixed[0] = m_Fixed[1] = true;
    m_KeepSize[0] = m_KeepSize[1] = true;
}

void tLayoutSpacer::Measure() {
    // Fixed along the parent's axis; the measured size is left for the parent to raise.
    const int axis = m_Parent ? m_Parent->m_Axis : 0;
    m_Fixed[axis] = true;
    m_Fixed[1 - axis] = false;
}
