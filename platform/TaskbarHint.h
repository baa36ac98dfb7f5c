#pragma once

class QWidget;

// Keeps a top-level window out of the task bar and the pager.  On X11 this is a window state
// the window manager reads when the window is mapped, so it is set before every show.
void HideFromTaskbar(QWidget* window);

// Makes sure a shown window that stays on top has the state that keeps it there.  A window
// manager still busy with the window's previous hide may drop the state Qt set before the map
// (GNOME Shell and KWin did, for a window shown again at once), so it is asked for once the
// window is managed and looked at again a few times after.  Other platforms need nothing.
void KeepAbove(QWidget* window);
