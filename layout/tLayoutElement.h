// The base of every node of a layout tree: boxes, decks, spacers, fillers and the
// window-backed controls.  Measure runs bottom-up and gives the size an element needs; Place
// runs top-down and hands each element its rectangle.
#pragma once

#include <vector>

class tLayoutContainer;

class tLayoutElement {
public:
    tLayoutElement() = default;
    tLayoutElement(const tLayoutElement&) = delete;
    tLayoutElement& operator=(const tLayoutElement&) = delete;
    // Frees the list of children, never the children: containers destroy them.
    virtual ~tLayoutElement() = default;

    virtual void Destroy();
    virtual void Measure();
    virtual void Place();
    virtual void SetVisible(bool visible);
    virtual bool IsVisible() const;

    int GetChildCount() const { return static_cast<int>(m_Children.size()); }
    tLayoutElement* GetChild(int index) const;

    // Axis 0 is horizontal (x, width), 1 vertical (y, height).
    std::vector<tLayoutElement*> m_Children;
    tLayoutContainer* m_Parent = nullptr;
    tLayoutElement* m_FirstChild = nullptr;
    int m_X = 0;
    int m_Y = 0;
    int m_Width = 0;
    int m_Height = 0;
    int m_MinSize[2] = {0, 0};           // lower bound the parent applies to the measured size
    int m_MeasuredSize[2] = {0, 0};      // result of Measure, then adjusted by the parent
    bool m_Fixed[2] = {false, false};    // keeps its measured size when a box shares space
    bool m_KeepSize[2] = {false, false}; // left out of equalisation
    bool m_Visible = true;
    int m_ForcedSize[2] = {0, 0}; // replaces the measured size when m_UseForcedSize is set
    bool m_UseForcedSize = false;
};
