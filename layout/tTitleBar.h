// The caption strip of a window without a platform caption: a fill, an optional picture and a
// centred title with a shadow.  Dragging it moves its top-level window.
#pragma once

#include "layout/tWidgetElement.h"
#include "platform/Gdi.h"

#include <QPoint>
#include <QWidget>
#include <string>

class QFont;
class tDib;
class tDibPalette;

class tTitleBar : public tWidgetElement<QWidget> {
    Q_OBJECT
public:
    tTitleBar();

    virtual bool Create(const char* title, QWidget* parent);

    void Measure() override;
    // The look of both windows' bars: light grey text with a dark blue shadow on strong blue.
    void UseWindowLook(const QFont* font);

    QPoint m_LastPoint;      // the cursor at the previous drag step, screen coordinates
    bool m_Dragging = false; // the left button went down on the bar and is still down
    bool m_FillBackground = false;
    bool m_DrawShadow = false;
    COLORREF m_BackgroundColour = 0;
    COLORREF m_TextColour = 0;
    COLORREF m_ShadowColour = 0;
    tDib* m_Image = nullptr;
    std::string m_Title;
    tDibPalette* m_Palette = nullptr;
    bool m_StretchImage = false;
    const QFont* m_Font = nullptr;

Q_SIGNALS:
    // A right click on the bar, at that screen point: the window's menu is wanted.
    void MenuRequested(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the frame may go so that the bar can still be grabbed.
    QPoint Reachable(QPoint framePos) const;
};
