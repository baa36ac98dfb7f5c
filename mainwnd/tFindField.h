// The find field of the calendar window (Ctrl+F): each key shows the first person whose name
// holds the text, Enter the next one, Esc closes the field and leaves the person shown.
#pragma once

#include "data/tPersonFinder.h"

#include <QLineEdit>
#include <QPointer>
#include <string>

class tCalendar;
class tTitleBar;

class tFindField : public QLineEdit {
public:
    // A right click on the field is a right click on the title bar it stands in: it asks for
    // the window's menu through the bar's own signal.
    tFindField(tCalendar& calendar, tTitleBar& titleBar, QWidget* parent);
    ~tFindField() override;

    // Reads the people afresh, shows the field in place of the title and gives it the keys.
    void Open();
    void Close();
    // Shows the first match at or after from; false when nobody matches.
    bool Search(int from);

    int m_Current = -1; // the match shown, or -1

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Any click outside the field ends the search, on a control or not (labels and the title
    // bar take no focus, so losing the focus is not enough to know).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tCalendar& m_Calendar;
    QPointer<tTitleBar> m_TitleBar; // may go first when the window is destroyed
    tPersonFinder m_Finder;
    std::string m_Title; // the title bar's text, back when the field goes
};
