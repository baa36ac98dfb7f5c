// The data file's costs on a file of 10,000 people spread over the year.
#include "data/tDataFile.h"
#include "platform/tProfileCache.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr int kMonthLength[] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// A data file in a fresh folder, with 10,000 people and the settings the program writes.
class tBenchFile {
public:
    tBenchFile() {
        char folder[] = "/tmp/zembrola-bench-XXXXXX";
        m_Folder = mkdtemp(folder);
        std::filesystem::create_directory(m_Folder + "/Cal_Data");
        m_Data.SetFileName((m_Folder + "/Cal_Data/DataFile.txt").c_str());
        std::string file;
        std::mt19937 random(7);
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= kMonthLength[month]; ++day) {
                file += "[" + tDataFile::SectionName(month, day) + "]\r\n";
                // 10,000 people over 366 days: 27 or 28 a day.
                const int people = (month * 31 + day) % 3 == 0 ? 28 : 27;
                for (int i = 0; i < people; ++i)
                    file += "Person " + std::to_string(random() % 100000) + "-" +
                            std::to_string(i) + "=" + (i % 2 ? "m" : "f") + "00" +
                            std::to_string(i % 10) + "\r\n";
            }
        file += "[settings]\r\nlast_alarm_day=5\r\nlast_alarm_month=12\r\nlast_alarm_year=2026\r\n"
                "notify_advance=1\r\nnotify_days=3\r\n";
        FILE* out = std::fopen((m_Folder + "/Cal_Data/DataFile.txt").c_str(), "wb");
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    ~tBenchFile() { std::filesystem::remove_all(m_Folder); }

    tDataFile m_Data;

private:
    std::string m_Folder;
};

tBenchFile& File() {
    static tBenchFile file;
    return file;
}

void BM_CountEntriesOfAMonth(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    for (auto _ : state)
        for (int day = 1; day <= 31; ++day)
            benchmark::DoNotOptimize(data.CountEntries(7, day));
}
BENCHMARK(BM_CountEntriesOfAMonth)->Unit(benchmark::kMicrosecond);

void BM_ReadEveryEntryOfADay(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    std::string name, picture;
    const int count = data.CountEntries(7, 14);
    for (auto _ : state)
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(data.ReadEntry(7, 14, i, name, picture));
    state.counters["people"] = count;
}
BENCHMARK(BM_ReadEveryEntryOfADay)->Unit(benchmark::kMicrosecond);

void BM_ReadLastAlarmDateUnchanged(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    for (auto _ : state)
        benchmark::DoNotOptimize(data.ReadLastAlarmDate());
}
BENCHMARK(BM_ReadLastAlarmDateUnchanged);

void BM_WriteEntry(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    int n = 0;
    for (auto _ : state)
        data.WriteEntry(3, 9, "Bench person", "m00" + std::to_string(n++ % 10));
}
BENCHMARK(BM_WriteEntry)->Unit(benchmark::kMillisecond);

// The first read after the file changed on disk: a full parse.
void BM_ParseAfterChange(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    for (auto _ : state) {
        tProfileCache::Instance().Clear();
        benchmark::DoNotOptimize(data.CountEntries(1, 1));
    }
}
BENCHMARK(BM_ParseAfterChange)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
