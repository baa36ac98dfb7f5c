// The costs of the calendar window: repainting the month, filling it from the data file, and
// the alarm scan at idle time.
#include "app/tApp.h"
#include "bench/BenchSupport.h"
#include "controls/tDayCell.h"
#include "controls/tMonthButton.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Sound.h"

#include "mainwnd/tImportDialog.h"

#include <QLabel>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

tApp* g_App = nullptr;

// The main window over 10,000 people, with the alarm switched on.
// Made at the first benchmark that needs it; destroyed in main while the application lives
// (a window destroyed after it, as a static would be, crashed the program at its end).
std::unique_ptr<tMainFrame> g_Frame;

tMainFrame& Frame() {
    if (!g_Frame)
        g_Frame = [] {
            Clock::SetNow(CTime(2026, 6, 14, 10, 0, 0).GetTime());
            BenchSupport::MakeScratchWithPeople(
                10000,
                "notify_advance=1\r\nnotify_days=3\r\nlast_alarm_day=14\r\nlast_alarm_month=6\r\n"
                "last_alarm_year=2026\r\n");
            auto made = std::make_unique<tMainFrame>();
            g_App->m_pMainWnd = made.get();
            made->Create("Zembrola");
            made->show();
            QApplication::processEvents(); // exposed: repaints now paint
            return made;
        }();
    return *g_Frame;
}

// Paints the 42 day cells and the twelve month buttons into an image of the window.
void BM_RepaintMonthAndMonthButtons(benchmark::State& state) {
    tMainFrame& frame = Frame();
    tCalendar& calendar = frame.m_Calendar;
    QImage image(frame.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        for (int cell = 1; cell <= 42; ++cell)
            calendar.m_DayCells[cell]->render(&painter, calendar.m_DayCells[cell]->pos(), QRegion(),
                                              QWidget::RenderFlags());
        for (int month = 1; month <= 12; ++month)
            calendar.m_MonthButtons[month]->render(&painter, calendar.m_MonthButtons[month]->pos(),
                                                   QRegion(), QWidget::RenderFlags());
    }
    state.counters["controls"] = 54;
}
BENCHMARK(BM_RepaintMonthAndMonthButtons)->Unit(benchmark::kMicrosecond);

void BM_FillMonth(benchmark::State& state) {
    tCalendar& calendar = Frame().m_Calendar;
    for (auto _ : state)
        calendar.FillMonth(7);
}
BENCHMARK(BM_FillMonth)->Unit(benchmark::kMicrosecond);

// What every idle call costs while nothing is due: the day test, as the event loop calls it.
void BM_IdleScanStepNothingDue(benchmark::State& state) {
    Frame();
    g_App->m_AlarmsArmed = true;
    for (auto _ : state)
        g_App->OnIdle(1);
}
BENCHMARK(BM_IdleScanStepNothingDue);

// A scan that catches up a whole year: every one of the 10,000 people is queued.
void BM_ScanCatchingUpAYear(benchmark::State& state) {
    tMainFrame& frame = Frame();
    tDataFile& data = frame.m_Calendar.m_DataFile;
    data.WriteLastAlarmDate(CTime(2025, 6, 14, 10, 0, 0));
    size_t queued = 0;
    for (auto _ : state) {
        bool armed = true;
        tAlarmQueue queue;
        RunAlarmScanStep(armed, queue, frame.m_Calendar);
        queued = queue.size() + 1;
        state.PauseTiming();
        frame.m_AlarmFrame.hide();
        state.ResumeTiming();
    }
    data.WriteLastAlarmDate(CTime(2026, 6, 14, 10, 0, 0));
    state.counters["queued"] = static_cast<double>(queued);
}
BENCHMARK(BM_ScanCatchingUpAYear)->Unit(benchmark::kMillisecond);

// The tray tip's whole text as the idle minute makes it, for the longest notice.
void BM_TrayTipText(benchmark::State& state) {
    tMainFrame& frame = Frame();
    const CTime now(2026, 12, 20, 10, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(tMainFrame::TipText(frame.m_Calendar.m_DataFile, 14, now));
}
BENCHMARK(BM_TrayTipText)->Unit(benchmark::kMicrosecond);

// The review of an import of that many cards (half with a gender of their own when the second
// argument is 1, none otherwise), opened and, without genders, all given one in one choice.
void BM_ReviewOfAnImport(benchmark::State& state) {
    tMainFrame& frame = Frame();
    const int count = static_cast<int>(state.range(0));
    const bool genders = state.range(1) != 0;
    std::string cards;
    for (int i = 0; i < count; ++i)
        cards += "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Card " + std::to_string(i) + "\r\n" +
                 (genders ? std::string("GENDER:") + (i % 2 ? "M" : "F") + "\r\n" : "") +
                 "BDAY:--" + (i % 12 < 9 ? "0" : "") + std::to_string(1 + i % 12) + "1" +
                 std::to_string(i % 9) + "\r\nEND:VCARD\r\n";
    for (auto _ : state) {
        tContactImport import;
        import.Read(cards);
        tImportDialog review(import, frame.m_Calendar.m_DataFile, 12, 12, &frame);
        if (!genders)
            review.ChooseGenderForAll("f");
        benchmark::DoNotOptimize(review.m_Summary->text());
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ReviewOfAnImport)
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tApp application(argc, argv);
    g_App = &application;
    SetMessageBoxHandler([](const std::string&) {});
    SetPlaySoundHandler([](const std::string&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_App->m_pMainWnd = nullptr;
    g_Frame.reset();
    return 0;
}
