#pragma once

class QWidget;
struct WINDOWPLACEMENT;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// The primary screen's width or height.
int GetSystemMetrics(int index);

// The placement of a top-level window, and applying one.  A window whose saved place lies
// outside every screen (a monitor that is gone) is brought back onto the primary screen.
bool GetWindowPlacement(const QWidget* window, WINDOWPLACEMENT* placement);
void SetWindowPlacement(QWidget* window, const WINDOWPLACEMENT* placement);

// Moves a window of that size to be centred over another one, within that one's screen.
void CentreOver(QWidget* window, const QWidget* over);
