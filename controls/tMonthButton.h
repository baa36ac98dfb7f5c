#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"

// One of the twelve month buttons; the shown month looks like a tab open towards the
// calendar below.  Its identifier is its month.
class tMonthButton : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    virtual bool Create(const char* text, QWidget* parent, int id);
    // 0: the shown month; 1: any other.
    void SetMonthLook(int mode);
    void OnClick(int value) override;
    void AddAccessibleState(QAccessible::State& state) const override {
        state.selectable = true;
        state.selected = m_Shown;
    }

    bool m_Shown = false; // the month the calendar shows

    tFrameStyle m_PlainFrame;
    tFrameStyle m_TabFrame;
};
