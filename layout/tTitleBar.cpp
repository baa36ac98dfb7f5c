#include "layout/tTitleBar.h"

#include "controls/Colours.h"
#include "image/tDib.h"
#include "platform/CodePage.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>

tTitleBar::tTitleBar() = default;

bool tTitleBar::Create(const char* title, QWidget* parent) {
    if (!parent)
        return false;
    setParent(parent);
    setGeometry(0, 0, 0, 0);
    m_Title = OrEmpty(title);
    setAccessibleName(ToQString(m_Title));
    show();
    return true;
}

void tTitleBar::Measure() {
    m_MeasuredSize[0] = 10;
    m_MeasuredSize[1] = 10;
}

void tTitleBar::UseWindowLook(const QFont* font) {
    m_FillBackground = true;
    m_BackgroundColour = Colours::kStrongBlue;
    m_TextColour = Colours::kLightGrey;
    m_DrawShadow = true;
    m_ShadowColour = Colours::kDarkBlue;
    m_Font = font;
}

void tTitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CRect rect(0, 0, width(), height());
    if (m_FillBackground)
        Gdi::FillRect(painter, rect, m_BackgroundColour);
    if (m_Image) {
        if (m_StretchImage)
            m_Image->Draw(&painter, rect);
        else
            m_Image->DrawCentred(&painter, &rect);
    }
    if (m_Title.empty())
        return;
    if (m_Font)
        painter.setFont(*m_Font);
    const QString title = ToQString(m_Title);
    const unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (m_DrawShadow) {
        CRect shadow = rect;
        shadow.OffsetRect(1, 1);
        Gdi::DrawText(painter, shadow, title, format, m_ShadowColour);
    }
    Gdi::DrawText(painter, rect, title, format, m_TextColour);
}

void tTitleBar::mousePressEvent(QMouseEvent* event) {
    // The tray's menu (Show, Hide, Exit) also here, so that Exit is reachable without a tray,
    // with the window's own commands below it.
    if (event->button() == Qt::RightButton &&
        isSignalConnected(QMetaMethod::fromSignal(&tTitleBar::MenuRequested))) {
        Q_EMIT MenuRequested(event->globalPosition().toPoint());
        return;
    }
    // The press grabs the mouse, so moves outside the bar keep arriving here.
    if (event->button() == Qt::LeftButton) {
        // Wayland lets no program move its own window: the compositor moves it.
        QWindow* handle = window()->windowHandle();
        if (QGuiApplication::platformName().startsWith("wayland") && handle &&
            handle->startSystemMove())
            return;
        m_Dragging = true;
        m_LastPoint = event->globalPosition().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void tTitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (m_Dragging) {
        const QPoint point = event->globalPosition().toPoint();
        if (QWidget* frame = parentWidget())
            frame->move(Reachable(frame->pos() + point - m_LastPoint));
        m_LastPoint = point;
    }
    QWidget::mouseMoveEvent(event);
}

QPoint tTitleBar::Reachable(QPoint framePos) const {
    // However far the mouse goes, enough of the bar stays on a screen to grab it again.
    const QWidget* frame = parentWidget();
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!frame || !screen)
        return framePos;
    constexpr int kKeep = 40;
    const QRect room = screen->availableGeometry();
    const QPoint bar = mapTo(frame, QPoint(0, 0));
    const int left =
        std::clamp(framePos.x() + bar.x(), room.left() - width() + kKeep, room.right() - kKeep);
    const int top = std::clamp(framePos.y() + bar.y(), room.top(),
                               std::max(room.top(), room.bottom() - height()));
    return QPoint(left - bar.x(), top - bar.y());
}

void tTitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_Dragging = false;
    QWidget::mouseReleaseEvent(event);
}
