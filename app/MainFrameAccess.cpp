#include "app/MainFrameAccess.h"

#include "mainwnd/tMainFrame.h"

namespace MainFrame {

QWidget* Widget(tMainFrame& frame) {
    return &frame;
}

tCalendar& Calendar(tMainFrame& frame) {
    return frame.m_Calendar;
}

tAlarmFrame& AlarmFrame(tMainFrame& frame) {
    return frame.m_AlarmFrame;
}

tDibPalette& Palette(tMainFrame& frame) {
    return frame.m_Palette;
}

const QFont& LargeFont(const tMainFrame& frame) {
    return frame.m_LargeFont;
}

int Mode(const tMainFrame& frame) {
    return frame.m_Mode;
}

void SetMode(tMainFrame& frame, int mode) {
    frame.SetMode(mode);
}

void Hide(tMainFrame& frame) {
    frame.OnHide();
}

} // namespace MainFrame
