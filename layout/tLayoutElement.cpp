#include "layout/tLayoutElement.h"

#include <cstddef>

void tLayoutElement::Destroy() {
    delete this;
}

void tLayoutElement::Measure() {
    m_MeasuredSize[0] = m_MinSize[0];
    m_MeasuredSize[1] = m_MinSize[1];
}

void tLayoutElement::Place() {}

void tLayoutElement::SetVisible(bool visible) {
    m_Visible = visible;
}

bool tLayoutElement::IsVisible() const {
    return m_Visible;
}

tLayoutElement* tLayoutElement::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    return m_Children[static_cast<size_t>(index)];
}
