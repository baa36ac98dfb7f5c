#pragma once

class QWidget;

// Keeps a top-level window out of the task bar and the pager.  On X11 this is a window state
// the window manager reads when the window is mapped, so it is set before every show.
void HideFromTaskbar(QWidget* window);
