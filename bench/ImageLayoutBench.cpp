// Drawing a person picture, and a full layout pass over a tree the size of the main window's.
#include "image/tDib.h"
#include "layout/tLayoutColumn.h"
#include "layout/tLayoutDeck.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tLayoutSpacer.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

void BM_DrawCentred180(benchmark::State& state) {
    tDib picture;
    picture.Create(180, 180);
    QImage target(180, 180, QImage::Format_RGB32);
    QPainter painter(&target);
    const CRect area(0, 0, 180, 180);
    for (auto _ : state) {
        picture.DrawCentred(&painter, &area);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCentred180)->Unit(benchmark::kMicrosecond);

class tLeaf : public tLayoutElement {
public:
    tLeaf(int width, int height) {
        m_MinSize[0] = width;
        m_MinSize[1] = height;
    }
};

template <class T>
T* Add(tLayoutContainer& parent, T* child) {
    parent.AddChild(child);
    return child;
}

// The main window's shape: a title row, twelve months, a grid of 7 headers and 42 days, a
// deck of three pages and a person column, with their spacers: about 120 nodes.
void BuildMainWindowTree(tLayoutColumn& root) {
    tLayoutRow* title = Add(root, new tLayoutRow);
    Add(*title, new tLeaf(20, 24))->m_Fixed[0] = true;
    Add(*title, new tLeaf(10, 10));
    tLayoutRow* months = Add(root, new tLayoutRow);
    months->m_EqualiseChildren = true;
    for (int i = 0; i < 12; ++i)
        Add(*months, new tLeaf(25, 24));
    Add(root, new tLayoutSpacer)->m_MinSize[1] = 6;
    tLayoutRow* body = Add(root, new tLayoutRow);
    Add(*body, new tLayoutSpacer);
    tLayoutColumn* left = Add(*body, new tLayoutColumn);
    tLayoutColumn* calendar = Add(*left, new tLayoutColumn);
    tLayoutRow* headers = Add(*calendar, new tLayoutRow);
    headers->m_EqualiseChildren = true;
    for (int i = 0; i < 7; ++i)
        Add(*headers, new tLeaf(12, 17));
    Add(*calendar, new tLayoutSpacer);
    tLayoutColumn* grid = Add(*calendar, new tLayoutColumn);
    grid->m_EqualiseChildren = true;
    for (int r = 0; r < 6; ++r) {
        tLayoutRow* row = Add(*grid, new tLayoutRow);
        for (int c = 0; c < 7; ++c)
            Add(*row, new tLeaf(17, 17));
    }
    Add(*calendar, new tLayoutSpacer);
    tLayoutDeck* deck = Add(*left, new tLayoutDeck);
    for (int page = 0; page < 3; ++page) {
        tLayoutColumn* column = Add(*deck, new tLayoutColumn);
        Add(*column, new tLayoutFiller);
        for (int i = 0; i < 3; ++i) {
            tLayoutRow* row = Add(*column, new tLayoutRow);
            Add(*row, new tLeaf(30, 20));
            Add(*row, new tLeaf(60, 20));
        }
    }
    Add(*body, new tLayoutSpacer);
    tLayoutColumn* person = Add(*body, new tLayoutColumn);
    Add(*person, new tLeaf(30, 20));
    Add(*person, new tLayoutFiller);
    Add(*person, new tLeaf(180, 180));
    Add(*person, new tLayoutFiller);
    tLayoutRow* names = Add(*person, new tLayoutRow);
    Add(*names, new tLeaf(20, 24));
    Add(*names, new tLeaf(68, 22));
    Add(*names, new tLeaf(20, 24));
    Add(*body, new tLayoutSpacer);
    Add(root, new tLayoutSpacer);
}

int CountNodes(const tLayoutElement& element) {
    int count = 1;
    for (const tLayoutElement* child : element.m_Children)
        count += CountNodes(*child);
    return count;
}

void BM_LayoutMainWindowTree(benchmark::State& state) {
    tLayoutColumn root;
    BuildMainWindowTree(root);
    for (auto _ : state) {
        root.m_Width = 480;
        root.m_Height = 400;
        root.Measure();
        root.Place();
        benchmark::DoNotOptimize(root.m_MeasuredSize[0]);
    }
    state.counters["nodes"] = CountNodes(root);
}
BENCHMARK(BM_LayoutMainWindowTree)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
