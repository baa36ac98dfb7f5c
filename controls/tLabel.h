#pragma once

#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// A text and/or a picture on a fill.  Always disabled: it shows its disabled look, takes no
// focus and reports no clicks.
class tLabel : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent);
    // Loads the picture and shows it; a file that cannot be loaded keeps the previous one.
    bool LoadPicture(const char* path);
    // Shows no picture.
    void ClearPicture();
    void SetText(const char* text);
    // A text beyond the code page, such as a name as the data file holds it.
    void SetUtf8Text(const std::string& text);
    // The text in one colour on a fill of another.
    void SetColours(COLORREF fill, COLORREF text);

    QAccessible::Role AccessibleRole() const override { return m_Role; }
    // Text, not a control: never reported as unavailable.
    void AddAccessibleState(QAccessible::State& state) const override { state.disabled = false; }

    tDib m_Picture;
    QAccessible::Role m_Role = QAccessible::StaticText; // a picture view is a Graphic
};
