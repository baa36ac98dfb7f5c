// The one text field: a single centred line in its own colours that takes part in a layout.
// What it holds is kept as Windows-1252 bytes; text that the rule set with SetInputRule does
// not accept cannot be typed or pasted, and the refusal is shown.
#pragma once

#include "controls/tInputPolicy.h"
#include "layout/tWidgetElement.h"
#include "platform/Gdi.h"

#include <QLineEdit>
#include <functional>
#include <string>
#include <string_view>

class tColourEdit : public tWidgetElement<QLineEdit> {
public:
    tColourEdit();

    virtual bool Create(uint32_t style, QWidget* parent, int id);
    void SetColours(COLORREF text, COLORREF background, COLORREF brush);

    void Measure() override;

    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }

    // What the field may hold; refusals beep and show the message, which is given what the
    // field holds.
    void SetInputRule(tInputPolicy::tRule rule, tInputPolicy::tMessage message);
};
