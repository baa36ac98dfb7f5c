// The colours the controls and windows paint with (palette-relative, 0x02bbggrr).
#pragma once

#include "platform/Gdi.h"

namespace Colours {
constexpr COLORREF kLightBlue = 0x02F09F7F; // 127, 159, 240: backgrounds
constexpr COLORREF kLightGrey = 0x02DBDBDB; // 219, 219, 219: label and button text
constexpr COLORREF kWhite = 0x02FFFFFF;
constexpr COLORREF kBlack = 0x02000000;
constexpr COLORREF kOrange = 0x022F7BFF;     // 255, 123, 47: birthdays, hide and person buttons
constexpr COLORREF kYellow = 0x0200FFFF;     // 255, 255, 0
constexpr COLORREF kMidBlue = 0x02DB8560;    // 96, 133, 219: days without birthdays
constexpr COLORREF kStrongBlue = 0x02E45214; // 20, 82, 228: pressed day, title bars
constexpr COLORREF kRed = 0x020000FF;        // 255, 0, 0: today's frame
constexpr COLORREF kDarkBlue = 0x0270280A;   // 10, 40, 112: date, name, shadows
} // namespace Colours
