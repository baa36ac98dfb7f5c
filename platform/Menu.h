// A popup menu shown at a point; the chosen command reaches the owner as WM_COMMAND.
#pragma once

#include <QPoint>
#include <functional>

class QMenu;
class QWidget;

void TrackPopupMenu(QMenu* menu, QPoint at, QWidget* owner);
QPoint GetCursorPos();
void SetForegroundWindow(QWidget* window);

// Tests look at the menu instead of opening it; the handler returns the chosen command, or 0.
using tMenuHandler = std::function<unsigned(QMenu* menu, QPoint at)>;
tMenuHandler SetMenuHandler(tMenuHandler handler);
