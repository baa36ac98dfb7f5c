// The one text field: a single centred line in its own colours that takes part in a layout.
// What it holds is kept as Windows-1252 bytes; text that the rule set with SetInputRule does
// not accept cannot be typed or pasted, and the refusal is shown.
#pragma once

#include "layout/tLayoutElement.h"
#include "platform/Gdi.h"

#include <QLineEdit>
#include <functional>
#include <string>
#include <string_view>

class tColourEdit : public QLineEdit, public tLayoutElement {
public:
    tColourEdit();

    virtual bool Create(uint32_t style, QWidget* parent, int id);
    void SetColours(COLORREF text, COLORREF background, COLORREF brush);

    void Measure() override;
    void Place() override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override;

    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }

    // What the field may hold; refusals beep and show the message, which is given what the
    // field holds.
    void SetInputRule(std::function<bool(std::string_view)> rule,
                      std::function<std::string(const std::string&)> message);

    bool m_UseColours = false;
    COLORREF m_TextColour = 0;
    COLORREF m_BackColour = 0;
    COLORREF m_BrushColour = 0; // the rest of the control's background

protected:
    // The calendar window's keys come first (the arrows step through people while the name
    // is only shown).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowRefusal();

    std::function<std::string(const std::string&)> m_RefusalMessage;
};
