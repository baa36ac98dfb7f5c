// The top-level window of a layout tree: its size limits from the content, and a resize laid out.
#include "layout/tLayoutColumn.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tTitleBar.h"
#include "tests/support/AppTestSupport.h"

namespace {

// A window of a title row and a stretchable body.
class tTestFrame : public tLayoutFrame {
public:
    tTestFrame(bool bodyFixedY) {
        auto* column = new tLayoutColumn;
        AddChild(column);
        auto* row = new tLayoutRow;
        column->AddChild(row);
        m_Title = new tTitleBar;
        row->AddChild(m_Title);
        m_Title->Create("Test", this);
        m_Title->m_MinSize[1] = 20;
        m_Body = new tLayoutFiller;
        m_Body->m_MinSize[0] = 120;
        m_Body->m_MinSize[1] = 80;
        m_Body->m_Fixed[1] = bodyFixedY;
        m_Title->m_Fixed[1] = true;
        column->AddChild(m_Body);
        setGeometry(50, 60, 10, 10);
        m_X = 50, m_Y = 60, m_Width = 10, m_Height = 10;
        tLayoutFrame::Measure();
        Place();
        UpdateSizeLimits();
    }
    using tLayoutFrame::UpdateSizeLimits;
    tTitleBar* m_Title;
    tLayoutFiller* m_Body;
};

TEST(LayoutFrameTest, TheContentDecidesTheSmallestAndLargestSize) {
    const int border = 2 * tLayoutFrame::kBorder;
    tTestFrame stretchable(false);
    EXPECT_EQ(stretchable.minimumSize(), QSize(120 + border, 100 + border));
    EXPECT_EQ(stretchable.maximumHeight(), QWIDGETSIZE_MAX);
    EXPECT_EQ(stretchable.maximumWidth(), QWIDGETSIZE_MAX);
    tTestFrame fixed(true);
    EXPECT_EQ(fixed.maximumHeight(), 100 + border)
        << "every child of the column is fixed in height";
}

TEST(LayoutFrameTest, AResizeLaysTheTreeOutAgain) {
    tTestFrame frame(false);
    frame.resize(300, 200);
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(frame.m_Title->width(), 300 - 2 * tLayoutFrame::kBorder);
    EXPECT_EQ(frame.m_Body->m_Height, 200 - 2 * tLayoutFrame::kBorder - 20);
    EXPECT_EQ(frame.m_Body->m_Y, tLayoutFrame::kBorder + 20);
}

} // namespace
