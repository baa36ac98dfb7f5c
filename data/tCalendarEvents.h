// What the calendar logic announces, for the window and whatever else shows the people.
#pragma once

#include <QObject>

class tCalendarEvents : public QObject {
    Q_OBJECT
Q_SIGNALS:
    // A person was saved or deleted: what lists the people (the tray's tip, the find field)
    // reads them again.
    void PeopleChanged();
    // The days of notice changed: the coming birthdays are others.
    void NoticeDaysChanged(int days);
};
