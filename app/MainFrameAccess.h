// How the controls and the calendar logic reach the calendar window: the window itself and
// what they use of it, without the window's header, so that a change to it rebuilds none of
// them.
#pragma once

class QFont;
class QWidget;
class tAlarmFrame;
class tCalendar;
class tDibPalette;
class tMainFrame;

// The editing modes of the calendar window.
struct tEditModes {
    enum { kModeBrowse = 2, kModeGender = 3, kModePicture = 4 };
};

// The calendar window, once it is being created; none before and after.
tMainFrame* GetMainFrame();

namespace MainFrame {
QWidget* Widget(tMainFrame& frame);
tCalendar& Calendar(tMainFrame& frame);
tAlarmFrame& AlarmFrame(tMainFrame& frame);
tDibPalette& Palette(tMainFrame& frame);
const QFont& LargeFont(const tMainFrame& frame);
int Mode(const tMainFrame& frame);
void SetMode(tMainFrame& frame, int mode);
void Hide(tMainFrame& frame);
} // namespace MainFrame
