#include "layout/tLayoutFrame.h"

#include "controls/Colours.h"
#include "platform/TaskbarHint.h"

#include <QPainter>
#include <QResizeEvent>

tLayoutFrame::tLayoutFrame() : QWidget(nullptr) {
    setContentsMargins(kBorder, kBorder, kBorder, kBorder);
}

tLayoutFrame::~tLayoutFrame() {
    DestroyChildren();
}

void tLayoutFrame::Measure() {
    BoxMeasure();
    const QMargins border = contentsMargins();
    m_MeasuredSize[0] += border.left() + border.right();
    m_MeasuredSize[1] += border.top() + border.bottom();
}

void tLayoutFrame::Place() {
    setGeometry(m_X, m_Y, std::max(0, m_Width), std::max(0, m_Height));
    // Laid out now, not at the resize event: a hidden window gets that only when shown, and a
    // shown one when the window system has moved it.  Laying out twice changes nothing.
    OnSize();
}

void tLayoutFrame::OnSize() {
    const QRect client = contentsRect();
    m_X = client.x();
    m_Y = client.y();
    m_Width = client.width();
    m_Height = client.height();
    BoxMeasure();
    BoxArrange();
}

void tLayoutFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize();
}

void tLayoutFrame::UpdateSizeLimits() {
    Measure();
    setMinimumSize(m_MeasuredSize[0], m_MeasuredSize[1]);
    setMaximumSize(m_Fixed[0] ? m_MeasuredSize[0] : QWIDGETSIZE_MAX,
                   m_Fixed[1] ? m_MeasuredSize[1] : QWIDGETSIZE_MAX);
}

void tLayoutFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    OnEraseBkgnd(painter);
    // The non-client border that the window style WS_DLGFRAME gives a window without a
    // caption, in the program's colours: a dark outer line and a strong blue inner one.  Both
    // windows have it; their controls are laid out inside kBorder.
    const QRect all = rect();
    painter.setPen(ToQColor(Colours::kDarkBlue));
    painter.drawRect(all.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(Colours::kStrongBlue));
    painter.drawRect(all.adjusted(1, 1, -2, -2));
}

void tLayoutFrame::OnEraseBkgnd(QPainter&) {}

void tLayoutFrame::setVisible(bool visible) {
    if (visible && !m_InTaskbar)
        HideFromTaskbar(this);
    QWidget::setVisible(visible);
}
