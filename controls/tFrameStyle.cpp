#include "controls/tFrameStyle.h"

#include "controls/Colours.h"

using Colours::kBlack;
using Colours::kWhite;

namespace {

int Trunc(double value) {
    return static_cast<int>(value);
}
} // namespace

tFrameStyle::tFrameStyle() {
    for (auto& ring : m_SideColour)
        for (COLORREF& colour : ring)
            colour = kBlack;
}

void tFrameStyle::SetSide(int ring, int side, COLORREF colour, int width) {
    m_SideColour[ring][side] = colour;
    m_SideOn[ring][side] = true;
    m_SideWidth[ring][side] = width;
}

void tFrameStyle::SetRaised() {
    SetSide(0, kTop, kWhite, 1);
    SetSide(0, kRight, kBlack, 1);
    SetSide(0, kBottom, kBlack, 1);
    SetSide(0, kLeft, kWhite, 1);
}

void tFrameStyle::SetSunken() {
    SetSide(0, kTop, kBlack, 1);
    SetSide(0, kRight, kWhite, 1);
    SetSide(0, kBottom, kWhite, 1);
    SetSide(0, kLeft, kBlack, 1);
}

void tFrameStyle::DrawFrame(QPainter& painter, const CRect& rect) const {
    CRect r = rect;
    for (int ring = 0; ring < 3; ++ring) {
        const int* w = m_SideWidth[ring];
        const COLORREF* c = m_SideColour[ring];
        const bool* on = m_SideOn[ring];
        const int top = r.top + w[kTop] / 2;
        const int left = r.left + w[kLeft] / 2;
        const int right = Trunc(r.right - (w[kRight] - 0.5) * 0.5);
        const int bottom = Trunc(r.bottom - (w[kBottom] - 0.5) * 0.5);
        const int rightTop = Trunc(r.top + (w[kTop] - 0.5) * 0.5);
        const int bottomLeft = Trunc(r.left + (w[kLeft] - 0.5) * 0.5);
        if (on[kTop])
            Gdi::Line(painter, left, top, right, top, w[kTop], c[kTop]);
        if (on[kRight])
            Gdi::Line(painter, right, rightTop, right, bottom, w[kRight], c[kRight]);
        if (on[kBottom])
            Gdi::Line(painter, right, bottom, bottomLeft, bottom, w[kBottom], c[kBottom]);
        if (on[kLeft])
            Gdi::Line(painter, left, bottom, left, top, w[kLeft], c[kLeft]);
        r.left += w[kLeft];
        r.top += w[kTop];
        r.right -= w[kRight];
        r.bottom -= w[kBottom];
    }
}

int tFrameStyle::Thickness(int side) const {
    int thickness = 0;
    for (int ring = 0; ring < 3; ++ring)
        thickness += m_SideWidth[ring][side];
    return thickness;
}
