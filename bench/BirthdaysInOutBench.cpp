// Birthdays in and out over 10,000 people: importing 10,000 address-book cards, one keystroke
// of the search, and the coming days that the tray's tip lists.
#include "bench/BenchSupport.h"
#include "data/tContactImport.h"
#include "data/tPersonFinder.h"
#include "data/tUpcoming.h"
#include "platform/tProfileCache.h"

#include <benchmark/benchmark.h>

namespace {

std::string Cards(int count) {
    static const int lengths[] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::string text;
    for (int i = 0; i < count; ++i) {
        const int month = 1 + i % 12, day = 1 + (i / 12) % lengths[month];
        char card[200];
        std::snprintf(card, sizeof card,
                      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Contact %d\r\nGENDER:%s\r\n"
                      "BDAY:1980%02d%02d\r\nEND:VCARD\r\n",
                      i, i % 2 ? "M" : "F", month, day);
        text += card;
    }
    return text;
}

void BM_Import10000CardsInto10000People(benchmark::State& state) {
    const std::string cards = Cards(10000);
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = BenchSupport::MakeScratchWithPeople(10000, "");
        tProfileCache::Instance().Clear();
        tDataFile file;
        file.SetFileName("Cal_Data\\DataFile.txt");
        state.ResumeTiming();
        tContactImport import;
        import.Read(cards);
        import.Plan(file, "", 12, 12);
        import.Apply(file);
        state.PauseTiming();
        if (import.Count(tContactImport::tSkip::None) != 10000)
            state.SkipWithError("not every card was added");
        BenchSupport::RemoveScratch(folder);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Import10000CardsInto10000People)->Unit(benchmark::kMillisecond)->Iterations(3);

struct tPeople {
    std::string m_Folder = BenchSupport::MakeScratchWithPeople(10000, "");
    tDataFile m_File;
    tPeople() { m_File.SetFileName("Cal_Data\\DataFile.txt"); }
    ~tPeople() { BenchSupport::RemoveScratch(m_Folder); }
};

// The worst keystroke: a text nobody's name holds, so every name is looked at.
void BM_FindKeystrokeOver10000People(benchmark::State& state) {
    const tPeople people;
    tPersonFinder finder;
    finder.Load(people.m_File);
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.Find("zz"));
}
BENCHMARK(BM_FindKeystrokeOver10000People)->Unit(benchmark::kMicrosecond);

// What opening the search costs once: every person read.
void BM_FindLoad10000People(benchmark::State& state) {
    const tPeople people;
    tPersonFinder finder;
    for (auto _ : state)
        finder.Load(people.m_File);
}
BENCHMARK(BM_FindLoad10000People)->Unit(benchmark::kMillisecond);

// The tip's people at each idle minute, for the longest notice (14 days, about 400 people).
void BM_ComingDaysForTheTip(benchmark::State& state) {
    const tPeople people;
    for (auto _ : state)
        benchmark::DoNotOptimize(tUpcoming::Find(people.m_File, 2026, 12, 20, 14));
}
BENCHMARK(BM_ComingDaysForTheTip)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
