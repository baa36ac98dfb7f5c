// The calendar window without a mouse: its keys, its focus frame and what a screen reader is
// told.
#include "controls/tCheckButton.h"
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tMonthButton.h"
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

TEST_F(KeyboardTest, EnterAddsOnTheDayDeleteAsksPlusAndMinusSetTheNotice) {
    Start();
    Keys({Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeGender);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(Calendar().m_NameEdit));
    QTest::keyClicks(Calendar().m_NameEdit, "Lena");
    Keys({Qt::Key_Tab, Qt::Key_Space}); // the first gender button: a woman
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    Keys({Qt::Key_Space}); // Ok has the keyboard
    EXPECT_NE(DataFile().find("[15-06]\nLena=f"), std::string::npos) << DataFile();
    EXPECT_EQ(QApplication::focusWidget(), Calendar().m_DayCells[15 + Calendar().m_FirstWeekday]);

    Keys({Qt::Key_Left, Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus});
    EXPECT_EQ(Calendar().m_NotifyDays, 4);
    Calendar().m_NameEdit->setFocus();
    Keys({Qt::Key_Right});
    EXPECT_EQ(Calendar().m_Name, "Tom") << "Right on the shown name steps to the next person";
    Recorder().m_Answer = false;
    Keys({Qt::Key_Delete});
    EXPECT_EQ(Recorder().m_Questions.size(), 1u) << "Delete asks as the bin does";
    EXPECT_NE(DataFile().find("Tom=m002"), std::string::npos);
    Recorder().m_Answer = true;
    Keys({Qt::Key_Delete});
    EXPECT_EQ(DataFile().find("Tom="), std::string::npos);
}

TEST_F(KeyboardTest, TheFocusFrameShowsOnlyAfterAKey) {
    Start();
    auto* cell = Calendar().m_DayCells[14 + Calendar().m_FirstWeekday];
    auto* other = Calendar().m_DayCells[20 + Calendar().m_FirstWeekday];
    other->setFocus();
    const QImage unfocused = cell->grab().toImage();
    cell->setFocus();
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a mouse user sees no change";
    QTest::keyClick(cell, Qt::Key_Shift);
    EXPECT_NE(cell->grab().toImage(), unfocused);
    QTest::mouseClick(other, Qt::LeftButton);
    cell->setFocus();
    EXPECT_EQ(cell->grab().toImage(), unfocused) << "a click hides it again";
}

TEST_F(KeyboardTest, EveryControlTheKeyboardReachesHasANameAndTheSwitchItsState) {
    Start();
    for (QWidget* widget : m_Frame->findChildren<QWidget*>())
        if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus)) {
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty())
                << typeid(*widget).name();
        }
    QAccessibleInterface* alarm = QAccessible::queryAccessibleInterface(Calendar().m_AlarmCheckBox);
    EXPECT_EQ(alarm->role(), QAccessible::CheckBox);
    EXPECT_FALSE(alarm->state().checked);
    Calendar().m_AlarmCheckBox->setFocus();
    Keys({Qt::Key_Space});
    EXPECT_TRUE(alarm->state().checked);
    EXPECT_TRUE(Calendar().m_NotifyAdvance);
    EXPECT_TRUE(
        QAccessible::queryAccessibleInterface(Calendar().m_MonthButtons[6])->state().selected);
}

} // namespace
