#include "layout/tLayoutDeck.h"

#include <algorithm>

void tLayoutDeck::Measure() {
    m_Fixed[0] = m_Fixed[1] = false;
    m_MeasuredSize[0] = m_MeasuredSize[1] = 0;
    for (tLayoutElement* child : m_Children) {
        child->Measure();
        for (int axis : {0, 1}) {
            child->m_MeasuredSize[axis] =
                std::max(child->m_MeasuredSize[axis], child->m_MinSize[axis]);
            m_Fixed[axis] = m_Fixed[axis] || child->m_Fixed[axis];
            m_MeasuredSize[axis] = std::max(m_MeasuredSize[axis], child->m_MeasuredSize[axis]);
        }
    }
}

void tLayoutDeck::Place() {
    for (int i = 0; i < GetChildCount(); ++i) {
        tLayoutElement* page = m_Children[static_cast<size_t>(i)];
        page->m_X = m_X;
        page->m_Y = m_Y;
        page->m_Width = m_Width;
        page->m_Height = m_Height;
        page->SetVisible(i == m_Selected);
        page->Place();
    }
}

void tLayoutDeck::Select(int index) {
    if (tLayoutElement* page = GetChild(m_Selected)) {
        page->SetVisible(false);
        page->Place();
    }
    m_Selected = index;
    if (tLayoutElement* page = GetChild(m_Selected)) {
        page->SetVisible(true);
        page->Place();
    }
}
