#pragma once

#include "layout/tLayoutContainer.h"

// A stack of pages that all get the deck's rectangle; only the selected one is visible.
class tLayoutDeck : public tLayoutContainer {
public:
    void Measure() override;
    void Place() override;
    // Hides the current page and shows the one at index; an index without a page shows none.
    virtual void Select(int index);

    int m_Selected = 0;
};
