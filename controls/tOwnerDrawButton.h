// The base of every control kind: it draws itself from three looks (normal, pressed,
// disabled) and turns clicks into OnClick and OnDoubleClick, optionally as a toggle.
#pragma once

#include "controls/tButtonLook.h"
#include "controls/tLayoutButton.h"
#include "platform/CRect.h"

#include <QAccessible>
#include <QPoint>

class QPainter;
class tDibPalette;
class tFrameStyle;

class tOwnerDrawButton : public tLayoutButton {
public:
    enum { kNormal = 0, kPressed = 1, kDisabled = 2 };

    tOwnerDrawButton();

    virtual void DrawNormal(QPainter& painter, CRect rect);
    virtual void DrawPressed(QPainter& painter, CRect rect);
    virtual void DrawDisabled(QPainter& painter, CRect rect);
    virtual void PaintFill(QPainter& painter, const CRect& rect, const tButtonLook& look);
    virtual void PaintImage(QPainter& painter, const CRect& rect, const tButtonLook& look);
    virtual void PaintText(QPainter& painter, const CRect& rect, const tButtonLook& look);
    virtual void PaintFrame(QPainter& painter, const CRect& rect, const tButtonLook& look);
    // value: 1 for a click, the new state for a toggle.
    virtual void OnClick(int value);
    virtual void OnDoubleClick();

    // What a click, Space or a screen reader's action does: a toggle changes its state and
    // says so, anything else clicks once.
    void Activate();

    // What a screen reader is told: the role, and the states beyond enabled, focus and a
    // toggle's checked state.
    virtual QAccessible::Role AccessibleRole() const { return QAccessible::Button; }
    virtual void AddAccessibleState(QAccessible::State&) const {}

    // Sets the text of all three looks and, unless keepCaption, the caption.  No repaint.
    void SetAllTexts(const char* text, bool keepCaption);
    // DT_LEFT, DT_CENTER or DT_RIGHT; the text stays one line, centred vertically.
    void SetTextAlignment(unsigned align);
    void SetLookText(int look, const char* text);

    tDibPalette* m_Palette = nullptr; // the shared palette, selected before a picture is drawn
    tButtonLook m_Looks[3];
    bool m_IsToggle = false; // keeps a checked state and shows the pressed look while checked
    bool m_Checked = false;
    uint32_t m_LastClickTime = 0; // tick of the previous click
    QPoint m_PressedOffset{1, 1}; // how far picture and text move when pressed
    unsigned m_TextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

protected:
    // The two patterns of the editor controls: a picture button with raised and sunken bevels,
    // and a text button with a shadowed text on a fill.
    void MakePictureLooks(tFrameStyle& raised, tFrameStyle& sunken, tDib& picture,
                          const char* path);
    // Without frame styles the looks have no frames.
    void MakeTextLooks(const char* text, COLORREF fill, COLORREF textColour,
                       tFrameStyle* raised = nullptr, tFrameStyle* sunken = nullptr);
    // The main window's palette, when there is a main window.
    void UseSharedPalette();
    // The keyboard focus, drawn within the border the look has.
    void PaintFocus(QPainter& painter, const tFrameStyle* frame);
    // Creates the control shown and drawing with the shared palette: how the controls start.
    bool CreateShown(const char* text, QWidget* parent, int id);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DispatchClick();
    void Toggle();
    void DrawLook(QPainter& painter, const CRect& rect, const tButtonLook& look, QPoint offset);
};
