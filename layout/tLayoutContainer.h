// A node with children: a box that lines them up along its axis (rows and columns), or a
// deck.  It owns its children and destroys them with itself.
#pragma once

#include "layout/tLayoutElement.h"

class tLayoutContainer : public tLayoutElement {
public:
    ~tLayoutContainer() override;

    void SetVisible(bool visible) override;
    virtual void RemoveChild(tLayoutElement* child);
    virtual void AddChild(tLayoutElement* child);

    struct tMargin {
        int m_Left = 0;
        int m_Top = 0;
        int m_Right = 0;
        int m_Bottom = 0;
    };
    tMargin m_Margin;
    int m_Axis = 0;                  // 0: children from left to right; 1: from top to bottom
    bool m_EqualiseChildren = false; // every child the same size along the axis
    bool m_AlignGrid = false;        // the i-th grandchildren the same size across the axis

protected:
    // The two passes of a box, also used by the top-level window for its own content.
    void BoxMeasure();
    void BoxArrange();
    void DestroyChildren();
};
