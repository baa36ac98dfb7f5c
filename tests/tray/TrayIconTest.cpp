// The tray icon's record, its calls to the tray, and its menu.
#include "tests/support/AppTestSupport.h"

using TestSupport::Recorder;
using TestSupport::tFrameTest;

namespace {

class TrayIconTest : public tFrameTest {
protected:
    void SetUp() override { Recorder().Clear(); }
};

TEST_F(TrayIconTest, AddModifyAndDelete) {
    QWidget window;
    tTrayIcon icon(101);
    EXPECT_EQ(icon.m_Data.cbSize, 88u);
    EXPECT_TRUE(icon.SetIcon(nullptr, "tip")) << "nothing to remove";
    EXPECT_TRUE(Recorder().m_TrayCalls.empty());

    icon.SetNotificationWnd(&window, 0x040A);
    EXPECT_TRUE(icon.SetIcon(101, "Zembrola"));
    ASSERT_EQ(Recorder().m_TrayCalls.size(), 1u);
    EXPECT_EQ(Recorder().m_TrayCalls[0].first, NIM_ADD);
    EXPECT_EQ(Recorder().m_TrayCalls[0].second.uFlags, NIF_ICON | NIF_TIP | NIF_MESSAGE);
    EXPECT_STREQ(Recorder().m_TrayCalls[0].second.szTip, "Zembrola");

    EXPECT_TRUE(icon.SetIcon(101, std::string(200, 't').c_str()));
    EXPECT_EQ(Recorder().m_TrayCalls[1].first, NIM_MODIFY);
    EXPECT_EQ(std::string(icon.m_Data.szTip), std::string(127, 't')) << "the tip is cut to 127";

    EXPECT_TRUE(icon.SetIcon(0u));
    EXPECT_EQ(Recorder().m_TrayCalls[2].first, NIM_DELETE);
    EXPECT_FALSE(icon.IsShown());
    EXPECT_TRUE(icon.SetIcon(0u));
    EXPECT_EQ(Recorder().m_TrayCalls.size(), 3u);
    {
        tTrayIcon shown(101);
        shown.SetIcon(101);
    }
    EXPECT_EQ(Recorder().m_TrayCalls.back().first, NIM_DELETE) << "destroying the icon removes it";
}

TEST_F(TrayIconTest, AFailedAddLeavesItAbsentAndTheNextCallAddsAgain) {
    tTrayIcon icon(101);
    Recorder().m_TrayAccepts = false;
    EXPECT_FALSE(icon.SetIcon(101));
    EXPECT_FALSE(icon.IsShown());
    EXPECT_STREQ(icon.m_Data.szTip, "Zembrola") << "the string resource is the tip";
    EXPECT_EQ(icon.m_Data.uFlags, NIF_ICON | NIF_TIP) << "no window: no message";
    Recorder().m_TrayAccepts = true;
    EXPECT_TRUE(icon.SetIcon(101));
    EXPECT_EQ(Recorder().m_TrayCalls.back().first, NIM_ADD);
}

} // namespace
