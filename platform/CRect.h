// A rectangle as left, top, right and bottom; right and bottom lie just outside it.
#pragma once

#include <algorithm>

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    // The overlap of a and b; an empty rectangle (all zero) when they do not overlap.
    static constexpr CRect Intersection(const CRect& a, const CRect& b) {
        const CRect overlap(std::max(a.left, b.left), std::max(a.top, b.top),
                            std::min(a.right, b.right), std::min(a.bottom, b.bottom));
        return overlap.IsRectEmpty() ? CRect() : overlap;
    }
    constexpr bool operator==(const CRect&) const = default;
};
