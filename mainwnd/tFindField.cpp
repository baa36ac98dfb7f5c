#include "mainwnd/tFindField.h"

#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "layout/tTitleBar.h"
#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "support/Messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace Colours;

tFindField::tFindField(tCalendar& calendar, tTitleBar& titleBar, QWidget* parent)
    : QLineEdit(parent), m_Calendar(calendar), m_TitleBar(&titleBar) {
    setObjectName("find");
    setAccessibleName(ToQString(MessageText(tMessage::FindHint)));
    hide();
    setFrame(false);
    setTextMargins(4, 0, 4, 0);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QLineEdit::textEdited, this, [this] { Search(0); });
}

tFindField::~tFindField() {
    qApp->removeEventFilter(this);
}

void tFindField::Open() {
    // In place of the title, the whole bar but a margin: the title would show through beside
    // a smaller field, and the field says what it is for.
    if (!m_TitleBar)
        return;
    setGeometry(m_TitleBar->geometry().adjusted(3, 3, -3, -3));
    if (!isVisible()) {
        m_Title = m_TitleBar->m_Title;
        m_TitleBar->m_Title.clear();
        m_TitleBar->update();
        qApp->installEventFilter(this);
    }
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

void tFindField::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && m_TitleBar) {
        Q_EMIT m_TitleBar->MenuRequested(event->globalPosition().toPoint());
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void tFindField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(ToQColor(kDarkBlue));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void tFindField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    qApp->removeEventFilter(this);
    if (m_TitleBar && m_TitleBar->m_Title.empty()) {
        m_TitleBar->m_Title = m_Title;
        m_TitleBar->update();
    }
}

bool tFindField::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::NonClientAreaMouseButtonPress) &&
        watched != this && watched->isWidgetType() && isVisible()) {
        // The click still does what it does where it lands.
        hide();
    }
    return QLineEdit::eventFilter(watched, event);
}
