// A border of up to three nested rings, each with four sides of their own colour and width.
#pragma once

#include "platform/CRect.h"
#include "platform/Gdi.h"

class QPainter;

class tFrameStyle {
public:
    enum { kTop = 0, kRight = 1, kBottom = 2, kLeft = 3 };

    virtual ~tFrameStyle() = default;

    void SetSide(int ring, int side, COLORREF colour, int width);
    // Ring 0 with pens of width 1: white above and left, black right and below.
    void SetRaised();
    // The reverse: black above and left, white right and below.
    void SetSunken();
    void DrawFrame(QPainter& painter, const CRect& rect) const;
    // How far the border reaches in from that side (0: the side is open).
    int Thickness(int side) const;

    COLORREF m_SideColour[3][4];
    bool m_SideOn[3][4] = {};
    int m_SideWidth[3][4] = {};

    tFrameStyle();
};
