#pragma once

#include "controls/tFrameStyle.h"
#include "controls/tOwnerDrawButton.h"

// One of the 42 cells of the month grid.  Its identifier is its number, 1-42, row by row.
class tDayCell : public tOwnerDrawButton {
public:
    using tOwnerDrawButton::Create;
    // The kinds of cell.
    enum { kEmpty = 0, kDay = 1, kToday = 2, kBirthday = 3, kTodayBirthday = 4 };

    virtual bool Create(const char* text, QWidget* parent, int id);
    void SetCellKind(int kind);
    void OnClick(int value) override;
    void OnDoubleClick() override;
    void Measure() override;
    void AddAccessibleState(QAccessible::State& state) const override {
        state.selectable = true;
        state.selected = m_Selected;
    }
    // The selected day of the calendar, as a screen reader hears it.
    void SetSelected(bool selected);

    bool m_Selected = false;

    tFrameStyle m_SunkenFrame;
    tFrameStyle m_RaisedFrame;
    tFrameStyle m_TodayFrame;
    int m_Kind = kEmpty;
};
