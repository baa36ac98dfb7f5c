#include "layout/tLayoutColumn.h"
#include "layout/tLayoutDeck.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tLayoutSpacer.h"

#include <QRect>
#include <gtest/gtest.h>

#include <vector>

namespace {

int g_Alive = 0;

// A leaf that counts itself, so that destruction can be checked.
class tCounted : public tLayoutElement {
public:
    tCounted(int width, int height, bool fixedX = false, bool fixedY = false) {
        ++g_Alive;
        m_MinSize[0] = width;
        m_MinSize[1] = height;
        m_Fixed[0] = fixedX;
        m_Fixed[1] = fixedY;
    }
    ~tCounted() override { --g_Alive; }
};

template <class T>
T* Add(tLayoutContainer& parent, T* child) {
    parent.AddChild(child);
    return child;
}

void Layout(tLayoutContainer& root, int width, int height) {
    root.m_X = root.m_Y = 0;
    root.m_Width = width;
    root.m_Height = height;
    root.Measure();
    root.Place();
}

std::vector<int> Widths(const tLayoutContainer& box) {
    std::vector<int> widths;
    for (const tLayoutElement* child : box.m_Children)
        widths.push_back(box.m_Axis == 0 ? child->m_Width : child->m_Height);
    return widths;
}

struct tBoxCase {
    const char* name;
    std::vector<std::pair<int, bool>> children; // measured length, fixed along the axis
    int length;
    std::vector<int> expected;
};

class BoxArrangeTest : public testing::TestWithParam<tBoxCase> {};

TEST_P(BoxArrangeTest, SharesTheLengthAlongTheAxis) {
    const tBoxCase& row = GetParam();
    for (int axis : {0, 1}) {
        SCOPED_TRACE(axis == 0 ? "row" : "column");
        tLayoutRow rowBox;
        tLayoutColumn columnBox;
        tLayoutContainer& box = axis == 0 ? static_cast<tLayoutContainer&>(rowBox) : columnBox;
        for (const auto& [length, fixed] : row.children)
            Add(box, axis == 0 ? new tCounted(length, 5, fixed, false)
                               : new tCounted(5, length, false, fixed));
        Layout(box, axis == 0 ? row.length : 50, axis == 0 ? 50 : row.length);
        EXPECT_EQ(Widths(box), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, BoxArrangeTest,
    testing::Values(
        tBoxCase{"remainder carried", {{30, false}, {30, false}, {30, false}}, 100, {33, 33, 34}},
        tBoxCase{"fixed and stretchable", {{20, true}, {10, false}, {30, false}}, 80, {20, 15, 45}},
        tBoxCase{"zero measure weighs one", {{0, false}, {99, false}}, 200, {2, 198}},
        tBoxCase{"all fixed are packed", {{10, true}, {15, true}}, 100, {10, 15}},
        tBoxCase{"negative space", {{60, true}, {10, false}, {20, false}}, 50, {60, -3, -7}},
        tBoxCase{"exact fit", {{10, false}, {20, false}}, 30, {10, 20}}),
    [](const testing::TestParamInfo<tBoxCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(LayoutTest, EqualisationLeavesSpacersAlone) {
    tLayoutColumn column;
    column.m_EqualiseChildren = true;
    tCounted* a = Add(column, new tCounted(5, 40));
    tLayoutSpacer* spacer = Add(column, new tLayoutSpacer);
    spacer->m_MinSize[1] = 6;
    tCounted* b = Add(column, new tCounted(5, 60));
    column.Measure();
    EXPECT_EQ(a->m_MeasuredSize[1], 60);
    EXPECT_EQ(b->m_MeasuredSize[1], 60);
    EXPECT_EQ(spacer->m_MeasuredSize[1], 6);
    EXPECT_EQ(column.m_MeasuredSize[1], 126);
    EXPECT_TRUE(spacer->m_Fixed[1]);
    EXPECT_FALSE(spacer->m_Fixed[0]);
}

TEST(LayoutTest, GridAlignmentGivesColumnsOneWidth) {
    for (bool align : {true, false}) {
        SCOPED_TRACE(align ? "a grid" : "a plain column keeps its rows' own widths");
        tLayoutColumn grid;
        grid.m_AlignGrid = align;
        tLayoutRow* first = Add(grid, new tLayoutRow);
        tCounted* a = Add(*first, new tCounted(10, 5));
        tCounted* b = Add(*first, new tCounted(30, 5));
        tLayoutRow* second = Add(grid, new tLayoutRow);
        tCounted* c = Add(*second, new tCounted(25, 5));
        tLayoutRow* third = Add(grid, new tLayoutRow); // shorter rows are skipped
        Add(*third, new tCounted(12, 5));
        Add(*third, new tCounted(8, 5));
        Add(*third, new tCounted(99, 5));
        grid.Measure();
        EXPECT_EQ(a->m_MeasuredSize[0], align ? 25 : 10);
        EXPECT_EQ(c->m_MeasuredSize[0], 25);
        EXPECT_EQ(b->m_MeasuredSize[0], 30);
        EXPECT_EQ(third->GetChild(1)->m_MeasuredSize[0], align ? 30 : 8);
    }
}

TEST(LayoutTest, MarginsAndPositionsOnBothAxes) {
    struct {
        int axis, width, height;
        QRect a, filler; // x, y, width, height
    } const rows[] = {
        {0, 56, 50, {102, 203, 10, 42}, {112, 203, 40, 42}},
        {1, 50, 58, {102, 203, 44, 10}, {102, 213, 44, 40}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.axis == 0 ? "row" : "column");
        tLayoutRow rowBox;
        tLayoutColumn columnBox;
        tLayoutContainer& box = row.axis == 0 ? static_cast<tLayoutContainer&>(rowBox) : columnBox;
        box.m_Margin = {2, 3, 4, 5}; // left, top, right, bottom
        tCounted* a = Add(box, new tCounted(10, 10, row.axis == 0, row.axis == 1));
        tLayoutFiller* filler = Add(box, new tLayoutFiller);
        box.m_X = 100;
        box.m_Y = 200;
        box.m_Width = row.width;
        box.m_Height = row.height;
        box.Measure();
        EXPECT_EQ(QSize(box.m_MeasuredSize[0], box.m_MeasuredSize[1]), QSize(16, 18));
        box.Place();
        EXPECT_EQ(QRect(a->m_X, a->m_Y, a->m_Width, a->m_Height), row.a);
        EXPECT_EQ(QRect(filler->m_X, filler->m_Y, filler->m_Width, filler->m_Height), row.filler);
    }
}

TEST(LayoutTest, DeckShowsOnePage) {
    tLayoutDeck deck;
    tLayoutColumn* pages[3];
    for (auto& page : pages) {
        page = Add(deck, new tLayoutColumn);
        Add(*page, new tCounted(10, 10));
    }
    pages[1]->m_MinSize[0] = 40;
    Layout(deck, 60, 30);
    EXPECT_EQ(deck.m_MeasuredSize[0], 40);
    EXPECT_TRUE(pages[0]->IsVisible());
    EXPECT_FALSE(pages[1]->IsVisible());
    EXPECT_FALSE(pages[2]->GetChild(0)->IsVisible()) << "hiding a page hides its subtree";
    EXPECT_EQ(pages[2]->m_Width, 60);

    deck.Select(2);
    EXPECT_FALSE(pages[0]->IsVisible());
    EXPECT_TRUE(pages[2]->GetChild(0)->IsVisible());
    deck.Select(7);
    for (auto* page : pages)
        EXPECT_FALSE(page->IsVisible());
    EXPECT_EQ(deck.m_Selected, 7);
}

TEST(LayoutTest, DestroyingATreeDeletesEveryNodeOnce) {
    g_Alive = 0;
    {
        tLayoutColumn root;
        for (int i = 0; i < 3; ++i) {
            tLayoutRow* row = Add(root, new tLayoutRow);
            tLayoutDeck* deck = Add(*row, new tLayoutDeck);
            Add(*deck, new tCounted(1, 1));
            Add(*row, new tCounted(1, 1));
        }
        EXPECT_EQ(g_Alive, 6);
    }
    EXPECT_EQ(g_Alive, 0);
}

} // namespace
