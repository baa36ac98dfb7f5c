#pragma once

#include "controls/tOwnerDrawButton.h"
#include "image/tDib.h"

// The alarm switch: a toggle whose state shows only in its picture.
class tCheckButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    void OnClick(int value) override;
    QAccessible::Role AccessibleRole() const override { return QAccessible::CheckBox; }

    tDib m_FalsePicture;
    tDib m_TruePicture;
};
