// The find field of the calendar window (Ctrl+F): each key shows the first person whose name
// holds the text, Enter the next one, Esc closes the field and leaves the person shown.
#pragma once

#include "data/tPersonFinder.h"

#include <QLineEdit>

class tCalendar;

class tFindField : public QLineEdit {
public:
    tFindField(tCalendar& calendar, QWidget* parent);

    // Reads the people afresh, shows the field over the title bar and gives it the keys.
    void Open();
    void Close();
    // Shows the first match at or after from; false when nobody matches.
    bool Search(int from);

    int m_Current = -1; // the match shown, or -1

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    tCalendar& m_Calendar;
    tPersonFinder m_Finder;
};
