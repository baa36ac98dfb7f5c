// The calendar window without a mouse: its keys, its focus frame and what a screen reader is
// told.
#include "controls/tCheckButton.h"
#include "controls/tDayCell.h"
#include "controls/tLabel.h"
#include "controls/tMonthButton.h"
#include "layout/tTitleBar.h"
#include "tests/support/AppTestSupport.h"

#include <QAccessible>

using namespace TestSupport;

namespace {

class KeyboardTest : public tFrameTest {
protected:
    // No alarm: it would take the keyboard.
    void Start(
        const std::string& data = "[14-06]\nAnna=f001\nTom=m002\n[settings]\nnotify_advance=0\n") {
        CreateFrame(data);
        m_Frame->show();
        m_Frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_Frame.get()));
    }
    void Keys(std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys)
            QTest::keyClick(QApplication::focusWidget(), key);
    }
    std::string Where() {
        return std::to_string(Calendar().m_Month) + "/" + std::to_string(Calendar().m_SelectedDay);
    }
};

TEST_F(KeyboardTest, TheArrowsAndPagesMoveTheDayAcrossMonthsAndYears) {
    Start();
    EXPECT_EQ(QApplication::focusWidget(), Calendar().m_DayCells[14 + Calendar().m_FirstWeekday])
        << "the keyboard starts on today";
    struct tStep {
        std::initializer_list<Qt::Key> m_Keys;
        const char* m_Where;
    };
    for (const tStep& step :
         {tStep{{Qt::Key_Right}, "6/15"}, tStep{{Qt::Key_Down, Qt::Key_Down}, "6/29"},
          tStep{{Qt::Key_Down}, "7/6"}, tStep{{Qt::Key_Up}, "6/29"},
          tStep{{Qt::Key_PageDown}, "7/29"}, tStep{{Qt::Key_PageUp, Qt::Key_PageUp}, "5/29"}}) {
        Keys(step.m_Keys);
        EXPECT_EQ(Where(), step.m_Where);
        EXPECT_EQ(QApplication::focusWidget(),
                  Calendar().m_DayCells[Calendar().m_SelectedDay + Calendar().m_FirstWeekday]);
    }
    Calendar().SelectMonth(1);
    Calendar().SelectDay(1);
    Calendar().MoveSelection(-1);
    EXPECT_EQ(Where(), "12/31") << "before the first of January";
    Calendar().MoveSelection(1);
    EXPECT_EQ(Where(), "1/1");
    Calendar().MoveSelection(1);
    Calendar().MoveSelection(-1);
    EXPECT_EQ(Where(), "1/1") << "back from the 2nd is the 1st of the same month";
    Calendar().SelectMonth(3);
    Calendar().SelectDay(1);
    Calendar().MoveSelection(-1);
    EXPECT_EQ(Where(), "2/29") << "the grid's February has its 29th";
}

TEST_F(KeyboardTest, TheFocusFrameShowsOnlyAfterAKey) {
    Start();
    auto* cell = Calendar().m_DayCells[14 + Calendar().m_FirstWeekday];
    auto* other = Calendar().m_DayCells[20 + Calendar().m_FirstWeekday];
    other->setFocus();
    const QImage unfocused = cell->grab().toImage();
    cell->setFocus();
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a mouse user sees no change";
    for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
        QTest::keyClick(cell, modifier);
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a modifier alone moves no focus";
    QTest::keyClick(cell, Qt::Key_F5);
    EXPECT_NE(cell->grab().toImage(), unfocused);
    QTest::mouseClick(other, Qt::LeftButton);
    cell->setFocus();
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a click hides it again";
    QTest::keyClick(cell, Qt::Key_F5);
    ASSERT_NE(cell->grab().toImage(), unfocused);
    QTest::mouseClick(m_Frame->m_TitleBar, Qt::LeftButton);
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a click where no focus goes hides it too";
}

} // namespace

namespace {

// What a screen reader is told of the owner-drawn controls: the switch is a checkable toggle
// that says its state, the selected day and the shown month are selected, a label is not
// "unavailable", and each offers the action it has.
TEST_F(KeyboardTest, AScreenReaderIsToldEachControlsStateAndAction) {
    Start();
    Calendar().SelectDay(14);
    const auto state = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->state();
    };
    const auto actions = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->actionInterface()->actionNames();
    };
    QWidget* alarm = Calendar().m_AlarmCheckBox;
    EXPECT_TRUE(state(alarm).checkable);
    EXPECT_FALSE(state(alarm).checked);
    EXPECT_EQ(actions(alarm), QStringList{QAccessibleActionInterface::toggleAction()});
    Calendar().m_AlarmCheckBox->Activate();
    EXPECT_TRUE(state(alarm).checked) << "the state follows the switch";

    QWidget* today = Calendar().m_DayCells[14 + Calendar().m_FirstWeekday];
    QWidget* other = Calendar().m_DayCells[15 + Calendar().m_FirstWeekday];
    EXPECT_TRUE(state(today).selectable && state(today).selected);
    EXPECT_TRUE(state(other).selectable && !state(other).selected);
    EXPECT_EQ(actions(today), QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_FALSE(state(today).checkable);

    EXPECT_TRUE(state(Calendar().m_MonthButtons[6]).selected) << "the month shown";
    EXPECT_FALSE(state(Calendar().m_MonthButtons[7]).selected);
    EXPECT_FALSE(state(Calendar().m_DaysNumberLabel).disabled) << "a label is text, not off";
}

} // namespace
