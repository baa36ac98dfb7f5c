#include "controls/tOwnerDrawButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "controls/tAccessibleControl.h"
#include "controls/tFocusFrameFilter.h"
#include "controls/tFrameStyle.h"
#include "image/tDib.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/OrEmpty.h"
#include "platform/WindowMessage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace Colours;

tOwnerDrawButton::tOwnerDrawButton() {
    tAccessibleControl::Install();
    connect(this, &QAbstractButton::clicked, this, [this] { DispatchClick(); });
}

bool tOwnerDrawButton::CreateShown(const char* text, QWidget* parent, int id) {
    if (!Create(text, WS_VISIBLE, parent, id))
        return false;
    UseSharedPalette();
    return true;
}

void tOwnerDrawButton::UseSharedPalette() {
    if (tMainFrame* frame = GetMainFrame())
        m_Palette = &MainFrame::Palette(*frame);
}

void tOwnerDrawButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const CRect rect(0, 0, width(), height());
    const int shown = !isEnabled()                          ? kDisabled
                      : (m_IsToggle ? m_Checked : isDown()) ? kPressed
                                                            : kNormal;
    if (shown == kDisabled)
        DrawDisabled(painter, rect);
    else if (shown == kPressed)
        DrawPressed(painter, rect);
    else
        DrawNormal(painter, rect);
    if (hasFocus() && tFocusFrameFilter::Shown(this))
        PaintFocus(painter, m_Looks[shown].m_Frame);
}

void tOwnerDrawButton::PaintFocus(QPainter& painter, const tFrameStyle* frame) {
    // In the title bar's blue with a white line within (visible on the blue days), inside the
    // control's own border: today's red frame and the shown month's tab stay as they are, and
    // a side the border leaves open (the tab's foot) stays open.
    int inset[4] = {};
    bool open[4] = {};
    if (frame) {
        bool any = false;
        for (int side = 0; side < 4; ++side)
            any = (inset[side] = frame->Thickness(side)) > 0 || any;
        for (int side = 0; side < 4; ++side)
            open[side] = any && inset[side] == 0;
    }
    const int left = inset[tFrameStyle::kLeft], top = inset[tFrameStyle::kTop];
    const int right = width() - inset[tFrameStyle::kRight];
    const int bottom = height() - inset[tFrameStyle::kBottom];
    const auto band = [&](int from, const QColor& colour, int thickness) {
        const int l = left + from, t = top + (open[tFrameStyle::kTop] ? 0 : from);
        const int r = right - from, b = bottom - (open[tFrameStyle::kBottom] ? 0 : from);
        if (r - l < 2 * thickness || b - t < 2 * thickness)
            return;
        if (!open[tFrameStyle::kTop])
            painter.fillRect(l, t, r - l, thickness, colour);
        if (!open[tFrameStyle::kBottom])
            painter.fillRect(l, b - thickness, r - l, thickness, colour);
        if (!open[tFrameStyle::kLeft])
            painter.fillRect(l, t, thickness, b - t, colour);
        if (!open[tFrameStyle::kRight])
            painter.fillRect(r - thickness, t, thickness, b - t, colour);
    };
    band(0, ToQColor(kStrongBlue), 2);
    band(2, ToQColor(kWhite), 1);
}

void tOwnerDrawButton::DrawLook(QPainter& painter, const CRect& rect, const tButtonLook& look,
                                QPoint offset) {
    PaintFill(painter, rect, look);
    // Only picture and text move when pressed; fill and frame stay.
    painter.translate(offset);
    PaintImage(painter, rect, look);
    PaintText(painter, rect, look);
    painter.translate(-offset);
    PaintFrame(painter, rect, look);
}

void tOwnerDrawButton::DrawNormal(QPainter& painter, CRect rect) {
    DrawLook(painter, rect, m_Looks[kNormal], QPoint());
}

void tOwnerDrawButton::DrawPressed(QPainter& painter, CRect rect) {
    DrawLook(painter, rect, m_Looks[kPressed], m_PressedOffset);
}

void tOwnerDrawButton::DrawDisabled(QPainter& painter, CRect rect) {
    DrawLook(painter, rect, m_Looks[kDisabled], QPoint());
}

void tOwnerDrawButton::PaintFill(QPainter& painter, const CRect& rect, const tButtonLook& look) {
    if (look.m_Fill)
        Gdi::FillRect(painter, rect, look.m_FillColour);
}

void tOwnerDrawButton::PaintImage(QPainter& painter, const CRect& rect, const tButtonLook& look) {
    if (look.m_Image)
        look.m_Image->DrawCentred(&painter, &rect);
}

void tOwnerDrawButton::PaintText(QPainter& painter, const CRect& rect, const tButtonLook& look) {
    if (look.m_Text.empty())
        return;
    // Text that is not centred keeps a blank's distance from the edge.
    const QString plain =
        look.m_TextIsUtf8 ? QString::fromStdString(look.m_Text) : ToQString(look.m_Text);
    const QString text = (m_TextFormat & DT_CENTER) ? plain : " " + plain + " ";
    if (look.m_Shadow) {
        CRect shadow = rect;
        shadow.OffsetRect(1, 1);
        Gdi::DrawText(painter, shadow, text, m_TextFormat, look.m_ShadowColour);
    }
    Gdi::DrawText(painter, rect, text, m_TextFormat, look.m_TextColour);
}

void tOwnerDrawButton::PaintFrame(QPainter& painter, const CRect& rect, const tButtonLook& look) {
    if (look.m_Frame)
        look.m_Frame->DrawFrame(painter, rect);
}

void tOwnerDrawButton::OnClick(int) {}

void tOwnerDrawButton::OnDoubleClick() {
    OnClick(1);
}

// A click becomes OnClick, or OnDoubleClick when it follows the last one quickly.
void tOwnerDrawButton::DispatchClick() {
    if (m_IsToggle)
        return; // toggles answer the press, not the click
    const uint32_t now = Clock::GetTickCount();
    const uint32_t elapsed = now - m_LastClickTime; // wraps like the tick itself
    m_LastClickTime = now;
    if (elapsed > static_cast<uint32_t>(QApplication::doubleClickInterval()))
        OnClick(1);
    else
        OnDoubleClick();
}

void tOwnerDrawButton::mousePressEvent(QMouseEvent* event) {
    tLayoutButton::mousePressEvent(event);
    if (m_IsToggle && event->button() == Qt::LeftButton)
        Toggle(); // a toggle answers the press, not the click
}

void tOwnerDrawButton::Toggle() {
    m_Checked = !m_Checked;
    update();
    QAccessible::State changed;
    changed.checked = true;
    tAccessibleControl::StateChanged(this, changed);
    OnClick(m_Checked ? 1 : 0);
}

void tOwnerDrawButton::Activate() {
    if (!isEnabled())
        return;
    if (m_IsToggle)
        Toggle();
    else
        OnClick(1);
}

void tOwnerDrawButton::keyPressEvent(QKeyEvent* event) {
    // Space acts at once and always once: two quick presses are not a double click.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            Activate();
        return;
    }
    tLayoutButton::keyPressEvent(event);
}

void tOwnerDrawButton::SetAllTexts(const char* text, bool keepCaption) {
    if (!keepCaption)
        SetWindowText(text);
    for (tButtonLook& look : m_Looks)
        look.m_Text = OrEmpty(text);
}

void tOwnerDrawButton::SetTextAlignment(unsigned align) {
    m_TextFormat = align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
}

void tOwnerDrawButton::SetLookText(int look, const char* text) {
    m_Looks[look].m_Text = OrEmpty(text);
}

void tOwnerDrawButton::MakePictureLooks(tFrameStyle& raised, tFrameStyle& sunken, tDib& picture,
                                        const char* path) {
    m_Looks[kNormal].m_Fill = true;
    m_Looks[kNormal].m_FillColour = kLightBlue;
    raised.SetRaised();
    m_Looks[kNormal].m_Frame = &raised;
    m_Looks[kPressed].m_Fill = true;
    m_Looks[kPressed].m_FillColour = kLightBlue;
    sunken.SetSunken();
    m_Looks[kPressed].m_Frame = &sunken;
    picture.Load(path);
    m_Looks[kNormal].m_Image = &picture;
    m_Looks[kPressed].m_Image = &picture;
    m_MinSize[0] = picture.GetWidth();
    m_MinSize[1] = picture.GetHeight();
}

void tOwnerDrawButton::MakeTextLooks(const char* text, COLORREF fill, COLORREF textColour,
                                     tFrameStyle* raised, tFrameStyle* sunken) {
    if (raised && sunken) {
        raised->SetRaised();
        sunken->SetSunken();
    }
    for (int look : {kNormal, kPressed}) {
        m_Looks[look].m_Text = OrEmpty(text);
        m_Looks[look].m_Fill = true;
        m_Looks[look].m_FillColour = fill;
        m_Looks[look].m_TextColour = textColour;
        m_Looks[look].m_Shadow = true;
        m_Looks[look].m_ShadowColour = kBlack;
        m_Looks[look].m_Frame = look == kNormal ? raised : sunken;
    }
}
