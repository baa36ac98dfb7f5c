// A leaf of a layout tree that is a window of its own: the element's rectangle and
// visibility are the window's.
#pragma once

#include "layout/tLayoutElement.h"

#include <algorithm>

template <class Widget>
class tWidgetElement : public Widget, public tLayoutElement {
public:
    void Place() override {
        Widget::setGeometry(m_X, m_Y, std::max(0, m_Width), std::max(0, m_Height));
    }
    void SetVisible(bool visible) override {
        m_Visible = visible;
        Widget::setVisible(visible);
    }
    bool IsVisible() const override { return Widget::isVisible(); }
};
