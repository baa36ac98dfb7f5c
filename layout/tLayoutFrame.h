// A top-level window that is also the root of its layout tree: it lays the tree out on every
// size change, and keeps the window within the sizes its content allows.
#pragma once

#include "layout/tLayoutContainer.h"

#include <QWidget>

class tLayoutFrame : public QWidget, public tLayoutContainer {
public:
    tLayoutFrame();
    // Destroys the tree, and every control in it, before the window part goes.
    ~tLayoutFrame() override;

    // The window size that fits the content: the content plus the window's border.
    void Measure() override;
    // Moves and sizes the window to the element rectangle, then lays the content out.
    void Place() override;

    // Shows the window without a task-bar entry (unless m_InTaskbar), or hides it.
    void setVisible(bool visible) override;

    // Without a tray the task bar is the only way back to a window.
    bool m_InTaskbar = false;

    // The border drawn around the content (paintEvent): the non-client area.
    static constexpr int kBorder = 2;

protected:
    // WM_SIZE: the element rectangle becomes the client area, then measure and arrange.
    void OnSize();
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The background under the controls; the base paints nothing but the border.
    virtual void OnEraseBkgnd(QPainter& painter);
    // WM_GETMINMAXINFO: the limits the window's size must keep.
    void UpdateSizeLimits();
};
