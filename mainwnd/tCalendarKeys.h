// The calendar window's keys: the arrows in the grid and on the months, Page Up and Down for
// the month, Enter on a day for a new person, + and - for the days of notice, Delete, Esc.
// The window installs it on its controls, so that these keys come before a control's own.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class tCalendar;

class tCalendarKeys : public QObject {
public:
    // browsing tells whether the window only shows people (no one is being entered).
    tCalendarKeys(tCalendar& calendar, std::function<bool()> browsing);

    // True when the key was the window's and is done.
    bool OnKey(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tCalendar& m_Calendar;
    std::function<bool()> m_Browsing;
};
