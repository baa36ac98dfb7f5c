#include "layout/tLayoutContainer.h"

#include <algorithm>

tLayoutContainer::~tLayoutContainer() {
    DestroyChildren();
}

void tLayoutContainer::DestroyChildren() {
    while (m_FirstChild) {
        tLayoutElement* child = m_FirstChild;
        RemoveChild(child);
        child->Destroy();
    }
}

void tLayoutContainer::SetVisible(bool visible) {
    m_Visible = visible;
    for (tLayoutElement* child : m_Children)
        child->SetVisible(visible);
}

void tLayoutContainer::RemoveChild(tLayoutElement* child) {
    m_Children.erase(std::remove(m_Children.begin(), m_Children.end(), child), m_Children.end());
    m_FirstChild = m_Children.empty() ? nullptr : m_Children.front();
}

void tLayoutContainer::AddChild(tLayoutElement* child) {
    m_Children.push_back(child);
    child->m_Parent = this;
    if (!m_FirstChild)
        m_FirstChild = child;
}

void tLayoutContainer::BoxMeasure() {
    const int a = m_Axis;
    const int b = 1 - a;
    for (tLayoutElement* child : m_Children) {
        child->Measure();
        for (int axis : {0, 1}) {
            child->m_MeasuredSize[axis] =
                std::max(child->m_MeasuredSize[axis], child->m_MinSize[axis]);
            if (child->m_UseForcedSize)
                child->m_MeasuredSize[axis] = child->m_ForcedSize[axis];
        }
    }

    // Fixed along the axis only when every child is, across as soon as one child is.
    m_Fixed[a] = true;
    m_Fixed[b] = false;
    for (const tLayoutElement* child : m_Children) {
        m_Fixed[a] = m_Fixed[a] && child->m_Fixed[a];
        m_Fixed[b] = m_Fixed[b] || child->m_Fixed[b];
    }

    if (m_AlignGrid && m_FirstChild) {
        const int columns = m_FirstChild->GetChildCount();
        for (int i = 0; i < columns; ++i) {
            int largest = 0;
            for (const tLayoutElement* child : m_Children)
                if (const tLayoutElement* cell = child->GetChild(i); cell && !cell->m_KeepSize[b])
                    largest = std::max(largest, cell->m_MeasuredSize[b]);
            for (const tLayoutElement* child : m_Children)
                if (tLayoutElement* cell = child->GetChild(i); cell && !cell->m_KeepSize[b])
                    cell->m_MeasuredSize[b] = largest;
        }
    }

    if (m_EqualiseChildren) {
        int largest = 0;
        for (const tLayoutElement* child : m_Children)
            if (!child->m_KeepSize[a])
                largest = std::max(largest, child->m_MeasuredSize[a]);
        for (tLayoutElement* child : m_Children)
            if (!child->m_KeepSize[a])
                child->m_MeasuredSize[a] = largest;
    }

    int along = 0;
    int across = 0;
    for (const tLayoutElement* child : m_Children) {
        along += child->m_MeasuredSize[a];
        across = std::max(across, child->m_MeasuredSize[b]);
    }
    m_MeasuredSize[a] = along;
    m_MeasuredSize[b] = across;
    m_MeasuredSize[0] += m_Margin.m_Left + m_Margin.m_Right;
    m_MeasuredSize[1] += m_Margin.m_Top + m_Margin.m_Bottom;
}

void tLayoutContainer::BoxArrange() {
    const int a = m_Axis;
    int length = a == 0 ? m_Width - m_Margin.m_Left - m_Margin.m_Right
                        : m_Height - m_Margin.m_Top - m_Margin.m_Bottom;
    int weights = 0;
    for (tLayoutElement* child : m_Children) {
        if (child->m_Fixed[a]) {
            length -= child->m_MeasuredSize[a];
        } else {
            if (child->m_MeasuredSize[a] == 0)
                child->m_MeasuredSize[a] = 1;
            weights += child->m_MeasuredSize[a];
        }
    }

    int cursor = a == 0 ? m_X : m_Y;
    long long carry = 0; // the remainder of the truncating division, passed to the next child
    for (tLayoutElement* child : m_Children) {
        int size = 0;
        if (child->m_Fixed[a]) {
            size = child->m_MeasuredSize[a];
        } else {
            const long long share =
                static_cast<long long>(child->m_MeasuredSize[a]) * length + carry;
            size = static_cast<int>(share / weights);
            carry = share - (share / weights) * weights;
        }
        if (a == 0) {
            child->m_X = cursor;
            child->m_Y = m_Y;
            child->m_Width = size;
            child->m_Height = m_Height - m_Margin.m_Top - m_Margin.m_Bottom;
        } else {
            child->m_X = m_X;
            child->m_Y = cursor;
            child->m_Width = m_Width - m_Margin.m_Left - m_Margin.m_Right;
            child->m_Height = size;
        }
        child->m_X += m_Margin.m_Left;
        child->m_Y += m_Margin.m_Top;
        child->Place();
        cursor += size;
    }
}
