// The window placement record: where a top-level window is and how it is shown.
#pragma once

#include <cstdint>

struct tPlacementPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct tPlacementRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct WINDOWPLACEMENT {
    uint32_t length = sizeof(WINDOWPLACEMENT);
    uint32_t flags = 0;
    uint32_t showCmd = 0; // 0 hidden, 1 normal, 2 minimised, 3 maximised, 5 shown
    tPlacementPoint ptMinPosition;
    tPlacementPoint ptMaxPosition;
    tPlacementRect rcNormalPosition;
};

constexpr uint32_t SW_HIDE = 0;
constexpr uint32_t SW_SHOWNORMAL = 1;
constexpr uint32_t SW_SHOWMINIMIZED = 2;
constexpr uint32_t SW_SHOWMAXIMIZED = 3;
constexpr uint32_t SW_SHOW = 5;
