#include "mainwnd/tFindField.h"

#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "support/Messages.h"

#include <QKeyEvent>

using namespace Colours;

tFindField::tFindField(tCalendar& calendar, QWidget* parent)
    : QLineEdit(parent), m_Calendar(calendar) {
    setObjectName("find");
    setAccessibleName(ToQString(MessageText(tMessage::FindHint)));
    hide();
    setFrame(false);
    connect(this, &QLineEdit::textEdited, this, [this] { Search(0); });
}

void tFindField::Open() {
    m_Finder.Load(m_Calendar.m_DataFile);
    setPlaceholderText(ToQString(MessageText(tMessage::FindHint)));
    setAccessibleName(placeholderText());
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ToQColor(kLightBlue));
    colours.setColor(QPalette::Text, ToQColor(kDarkBlue));
    setPalette(colours);
    show();
    raise();
    selectAll();
    setFocus(Qt::ShortcutFocusReason);
}

void tFindField::Close() {
    hide();
    if (parentWidget())
        parentWidget()->setFocus();
}

bool tFindField::Search(int from) {
    const std::string wanted = FromQString(text()); // already the code page's
    const int found = m_Finder.Find(wanted, from);
    // Red text says at once that the name is not there; the tip says it in words.
    QPalette colours = palette();
    colours.setColor(QPalette::Text, ToQColor(found < 0 && !wanted.empty() ? kRed : kDarkBlue));
    setPalette(colours);
    setToolTip(found < 0 && !wanted.empty() ? ToQString(MessageText(tMessage::NotFound))
                                            : QString());
    if (found < 0)
        return false;
    m_Current = found;
    const tDataFile::tEntry& person = m_Finder.At(found);
    m_Calendar.ShowPersonAt(person.m_Month, person.m_Day, person.m_Exact);
    return true;
}

void tFindField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        Close();
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Search(m_Current + 1);
    else
        QLineEdit::keyPressEvent(event);
}

void tFindField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A click elsewhere in the window ends the search as Esc does.
    if (event->reason() == Qt::MouseFocusReason)
        hide();
}
