// Clicks, double clicks, toggles and keyboard activation, with the tick set by the test.
#include "controls/tCheckButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tSpinButton.h"
#include "platform/Clock.h"
#include "tests/support/AppTestSupport.h"

using TestSupport::tFrameTest;

namespace {

// Records what the base reports.
class tProbe : public tOwnerDrawButton {
public:
    void OnClick(int value) override { m_Reports.push_back("click " + std::to_string(value)); }
    void OnDoubleClick() override { m_Reports.push_back("double"); }
    std::vector<std::string> m_Reports;
};

void ClickAt(QWidget* control, uint32_t tick) {
    Clock::SetTickCount(tick);
    QTest::mouseClick(control, Qt::LeftButton);
}

class ControlClicksTest : public tFrameTest {
protected:
    void SetUp() override { QApplication::setDoubleClickInterval(500); }
};

TEST_F(ControlClicksTest, TheSecondQuickClickIsADoubleClick) {
    QWidget parent;
    tProbe probe;
    probe.Create("x", WS_VISIBLE, &parent, 7);
    probe.setGeometry(0, 0, 30, 20);
    parent.show();
    for (uint32_t tick : {1000u, 1300u, 1600u, 2200u})
        ClickAt(&probe, tick);
    EXPECT_EQ(probe.m_Reports,
              (std::vector<std::string>{"click 1", "double", "double", "click 1"}));
    // The tick wraps around 2^32 like the platform's.
    probe.m_Reports.clear();
    ClickAt(&probe, 0xFFFFFF00u);
    ClickAt(&probe, 0x00000010u);
    EXPECT_EQ(probe.m_Reports, (std::vector<std::string>{"click 1", "double"}));
    probe.setParent(nullptr);
}

TEST_F(ControlClicksTest, SpaceActivatesOnceAndTogglesAToggle) {
    QWidget parent;
    tProbe probe;
    probe.Create("x", WS_VISIBLE, &parent, 7);
    probe.setGeometry(0, 0, 30, 20);
    probe.m_LastClickTime = 0;
    parent.show();
    Clock::SetTickCount(100000);
    QTest::keyClick(&probe, Qt::Key_Space);
    QTest::keyClick(&probe, Qt::Key_Space);
    EXPECT_EQ(probe.m_Reports, (std::vector<std::string>{"click 1", "click 1"}))
        << "two quick presses are two clicks, not a double click";
    probe.m_IsToggle = true;
    QTest::keyClick(&probe, Qt::Key_Space);
    EXPECT_TRUE(probe.m_Checked);
    EXPECT_EQ(probe.m_Reports.back(), "click 1");
    QTest::keyClick(&probe, Qt::Key_Space);
    EXPECT_FALSE(probe.m_Checked);
    EXPECT_EQ(probe.m_Reports.back(), "click 0");
    probe.setParent(nullptr);
}

TEST_F(ControlClicksTest, TheAlarmSwitchTogglesOnThePress) {
    CreateFrame("[settings]\nnotify_advance=0\n");
    tCheckButton* check = Calendar().m_AlarmCheckBox;
    const QImage off = check->grab().toImage();
    QTest::mousePress(check, Qt::LeftButton);
    EXPECT_TRUE(Calendar().m_NotifyAdvance) << "reported on the press";
    const QImage on = check->grab().toImage();
    EXPECT_NE(on, off) << "the pressed look shows the switch on";
    QTest::mouseRelease(check, Qt::LeftButton);
    EXPECT_EQ(check->grab().toImage(), on) << "and stays while checked";
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(Calendar().m_NotifyAdvance);
    EXPECT_EQ(check->grab().toImage(), off);
}

TEST_F(ControlClicksTest, TwoQuickPressesOnTheArrowCountTwice) {
    CreateFrame();
    tSpinButton* increase = TestSupport::Controls<tSpinButton>(m_Frame.get(), 1).front();
    tSpinButton* decrease = TestSupport::Controls<tSpinButton>(m_Frame.get(), 0).front();
    ClickAt(increase, 5000);
    ClickAt(increase, 5100);
    EXPECT_EQ(Calendar().m_NotifyDays, 5);
    ClickAt(decrease, 9000);
    EXPECT_EQ(Calendar().m_NotifyDays, 4);
}

TEST_F(ControlClicksTest, ADisabledPersonButtonReportsNothing) {
    CreateFrame("[14-06]\nOnly=f001\n");
    Calendar().SelectDay(14);
    tPersonStepButton* next = Calendar().m_NextPersonButton;
    EXPECT_FALSE(next->isEnabled());
    const QImage image = next->grab().toImage();
    EXPECT_EQ(image.pixel(2, 2), ToQColor(0x02F09F7F).rgb()) << "only the light-blue field";
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(Calendar().m_PersonIndex, 0);
}

} // namespace
