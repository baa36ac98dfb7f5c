#include "mainwnd/tCalendarKeys.h"

#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tMonthButton.h"
#include "data/tCalendar.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

tCalendarKeys::tCalendarKeys(tCalendar& calendar, std::function<bool()> browsing)
    : m_Calendar(calendar), m_Browsing(std::move(browsing)) {}

bool tCalendarKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && OnKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

bool tCalendarKeys::OnKey(QKeyEvent* event) {
    const QWidget* focus = QApplication::focusWidget();
    tDayCell* cell = nullptr;
    for (int id = 1; id <= 42 && !cell; ++id)
        if (m_Calendar.m_DayCells[id] && m_Calendar.m_DayCells[id] == focus)
            cell = m_Calendar.m_DayCells[id];
    const bool inName = focus && focus == m_Calendar.m_NameEdit;
    const bool browsing = m_Browsing();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        // Leaves the entry of a new person with nothing written.
        if (browsing)
            return false;
        m_Calendar.CancelEntry();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (inName && !browsing)
            return false;
        const int step = event->key() == Qt::Key_PageUp ? 11 : 1;
        const int day = cell ? cell->GetDlgCtrlID() - m_Calendar.m_FirstWeekday : -1;
        m_Calendar.SelectMonth((m_Calendar.m_Month - 1 + step) % 12 + 1);
        // In the grid, the keyboard stays on the same day of the new month (or its last).
        if (day >= 1) {
            m_Calendar.SelectDay(std::min(day, tCalendar::GetMonthLength(m_Calendar.m_Month)));
            m_Calendar.MoveSelection(0);
        }
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool back = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up;
        // The name shown, not typed: the arrows step through the day's people.
        if (inName && browsing && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
            back ? m_Calendar.PreviousPerson() : m_Calendar.NextPerson();
            return true;
        }
        // On the months: the month before or after, which keeps the keyboard.
        if (auto* month = dynamic_cast<const tMonthButton*>(focus);
            month && plain && event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) {
            m_Calendar.SelectMonth((month->GetDlgCtrlID() + (back ? 10 : 0)) % 12 + 1);
            m_Calendar.m_MonthButtons[m_Calendar.m_Month]->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (!cell || !plain)
            return false;
        const int days = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ? 1 : 7;
        // From the day that has the keyboard, selected or not.
        m_Calendar.SelectDay(cell->GetDlgCtrlID() - m_Calendar.m_FirstWeekday);
        m_Calendar.MoveSelection(back ? -days : days);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The double click's twin: a new person on the day.
        if (!cell || !browsing || cell->m_Kind == tDayCell::kEmpty)
            return false;
        m_Calendar.SelectDay(cell->GetDlgCtrlID() - m_Calendar.m_FirstWeekday);
        m_Calendar.OnDayDoubleClicked(cell->GetDlgCtrlID());
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (inName && !browsing)
            return false;
        event->key() == Qt::Key_Plus ? m_Calendar.IncreaseNotifyDays()
                                     : m_Calendar.DecreaseNotifyDays();
        return true;
    case Qt::Key_Delete:
        if (!browsing)
            return false;
        m_Calendar.DeletePerson();
        return true;
    default:
        return false;
    }
}
