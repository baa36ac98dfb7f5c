#include "tests/support/AppTestSupport.h"

#include "controls/tOwnerDrawButton.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/DesktopNotifier.h"
#include "platform/Joined.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace TestSupport {

tRecorder& Recorder() {
    static tRecorder recorder;
    return recorder;
}

void InstallRecorder() {
    SetMessageBoxHandler([](const std::string& text) { Recorder().m_Messages.push_back(text); });
    SetQuestionHandler([](const std::string& text) {
        Recorder().m_Questions.push_back(text);
        return Recorder().m_Answer;
    });
    DesktopNotifier::SetHandler([](const DesktopNotifier::tNotice& notice) {
        Recorder().m_Notices.push_back(notice.m_Summary.empty()
                                           ? ""
                                           : notice.m_Summary + "|" + notice.m_Body + "|" +
                                                 notice.m_ImagePath + "|" + notice.m_OkLabel + "|" +
                                                 notice.m_LaterLabel);
    });
    SetBeepHandler([] { ++Recorder().m_Beeps; });
    SetPlaySoundHandler([](const std::string& path) { Recorder().m_Sounds.push_back(path); });
    SetShellHandler([](const std::string& file) {
        Recorder().m_ShellOpened.push_back(file);
        return true;
    });
    SetNotifyIconHandler([](unsigned operation, const NOTIFYICONDATA& data) {
        Recorder().m_TrayCalls.emplace_back(operation, data);
        return Recorder().m_TrayAccepts;
    });
    SetMenuHandler([](QMenu* menu, QPoint) {
        std::vector<std::string> texts;
        for (const QAction* action : menu->actions())
            texts.push_back(
                Joined({action == menu->defaultAction() ? "*" : "", FromQString(action->text())}));
        Recorder().m_Menus.push_back(texts);
        return 0u;
    });
}

int64_t LocalTime(int year, int month, int day, int hour, int minute) {
    return CTime(year, month, day, hour, minute, 0).GetTime();
}

void tFrameTest::CreateFrame(const std::string& dataFile, int64_t now) {
    Clock::SetNow(now);
    m_Scratch = std::make_unique<tScratch>(tScratch::tContent::InstallationData);
    if (!dataFile.empty())
        WriteFile("Cal_Data/DataFile.txt", dataFile);
    const bool trayAccepts = Recorder().m_TrayAccepts; // a desktop with or without a tray
    Recorder().Clear();
    Recorder().m_TrayAccepts = trayAccepts;
    m_Frame = std::make_unique<tMainFrame>();
    App().m_pMainWnd = m_Frame.get();
    App().m_AlarmsArmed = false;
    App().m_AlarmQueue.clear();
    ASSERT_TRUE(m_Frame->Create("Zembrola"));
}

void tFrameTest::Restart(int64_t now) {
    const std::string data = DataFile();
    TearDown();
    CreateFrame(data, now);
}

void tFrameTest::TearDown() {
    Recorder().m_TrayAccepts = true;
    App().m_pMainWnd = nullptr;
    App().m_AlarmQueue.clear();
    m_Frame.reset();
    m_Scratch.reset();
    Clock::SetNow(std::nullopt);
    Clock::SetTickCount(std::nullopt);
    // Closing the window ends the program, which stops every event loop from then on (a modal
    // dialog's included); one run of the application's own loop clears that for the next test.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

} // namespace TestSupport
