// What the calendar logic announces, for the window and whatever else shows the people.
#pragma once

#include <QByteArray>
#include <QObject>

class tCalendarEvents : public QObject {
    Q_OBJECT
Q_SIGNALS:
    // A person was saved or deleted: what lists the people (the tray's tip, the find field)
    // reads them again.
    void PeopleChanged();
    // A person was deleted in the window (name in the data file's code page): an address book
    // that has them may be told too.
    void PersonDeleted(int month, int day, const QByteArray& name);
    // The days of notice changed: the coming birthdays are others.
    void NoticeDaysChanged(int days);
};
