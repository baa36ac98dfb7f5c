// A push button that is also a leaf of a layout tree: the element operations act on its
// window.  Its caption is kept in the code page's bytes and never taken for a mnemonic.
#pragma once

#include "layout/tWidgetElement.h"

#include <QAbstractButton>
#include <cstdint>
#include <string>

class tLayoutButton : public tWidgetElement<QAbstractButton> {
public:
    tLayoutButton();

    // Creates the window as a child of parent; the layout gives it its rectangle later.
    virtual bool Create(const char* text, uint32_t style, QWidget* parent, int id);

    void Measure() override;

    int GetDlgCtrlID() const { return m_Id; }
    const std::string& GetWindowText() const { return m_Caption; }
    void SetWindowText(const char* text);

protected:
    // The measuring rule: the caption's extent in the default font (not the font the control
    // shows), plus a margin.
    void MeasureCaption(int extraWidth, int extraHeight);

private:
    std::string m_Caption;
    int m_Id = -1;
};
