// The measuring rules of the controls and the top-level window's limits.
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tGenderButton.h"
#include "controls/tMonthButton.h"
#include "controls/tSpinButton.h"
#include "controls/tWeekdayHeader.h"
#include "layout/tLayoutColumn.h"
#include "layout/tLayoutFiller.h"
#include "layout/tLayoutRow.h"
#include "layout/tTitleBar.h"
#include "tests/support/AppTestSupport.h"

namespace {

TEST(MeasureTest, PictureButtonsAreAtLeastTheirPicture) {
    QWidget parent;
    tSpinButton arrow;
    arrow.Create("", &parent, 1);
    tGenderButton gender;
    gender.Create("", &parent, 0);
    EXPECT_EQ(arrow.m_MinSize[0], arrow.m_Picture.GetWidth());
    EXPECT_EQ(arrow.m_MinSize[1], arrow.m_Picture.GetHeight());
    EXPECT_EQ(gender.m_MinSize[0], 44);
    tLayoutRow row;
    row.AddChild(&arrow);
    row.AddChild(&gender);
    row.Measure();
    EXPECT_GE(arrow.m_MeasuredSize[0], arrow.m_Picture.GetWidth());
    EXPECT_GE(gender.m_MeasuredSize[1], 44);
    row.RemoveChild(&arrow);
    row.RemoveChild(&gender);
    arrow.setParent(nullptr);
    gender.setParent(nullptr);
}

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

TEST(LayoutFrameTest, DraggingTheTitleBarMovesTheWindowByTheDragDistance) {
    tTestFrame frame(false);
    frame.show();
    QApplication::processEvents();
    const QPoint start = frame.pos();
    QTest::mousePress(frame.m_Title, Qt::LeftButton, {}, QPoint(10, 5));
    // Moves far outside the bar still reach it: the press grabbed the mouse.
    QMouseEvent move(QEvent::MouseMove, QPointF(10 + 200, 5 + 90),
                     frame.m_Title->mapToGlobal(QPointF(210, 95)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(frame.m_Title, &move);
    EXPECT_EQ(frame.pos(), start + QPoint(200, 90));
    QTest::mouseRelease(frame.m_Title, Qt::LeftButton, {}, QPoint(210, 95));
    QMouseEvent after(QEvent::MouseMove, QPointF(50, 50),
                      frame.m_Title->mapToGlobal(QPointF(50, 50)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(frame.m_Title, &after);
    EXPECT_EQ(frame.pos(), start + QPoint(200, 90)) << "no move without a press";
}

} // namespace
