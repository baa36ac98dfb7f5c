// The data file's costs on a file of 10,000 people spread over the year.
#include "data/tDataFile.h"
#include "platform/tProfileCache.h"
#include "platform/tWorkStep.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <time.h>
#include <unordered_map>
#include <vector>

namespace {

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
            for (int day = 1; day <= tDataFile::MonthLength(month); ++day) {
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
        m_Text = file;
        FILE* out = std::fopen((m_Folder + "/Cal_Data/DataFile.txt").c_str(), "wb");
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    ~tBenchFile() { std::filesystem::remove_all(m_Folder); }

    tDataFile m_Data;
    std::string m_Text; // the file's bytes, for the reference

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

// The least work the questions above need, for the ratios: the same file parsed once into hash
// maps, then one clock read and three look-ups (the idle step), or 31 sections' names listed
// (a month's key lists).  No file is looked at again.
struct tReference {
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> m_Sections;
    std::unordered_map<std::string, std::string> m_Settings;

    explicit tReference(const std::string& text) {
        std::vector<std::pair<std::string, std::string>>* section = nullptr;
        std::string name;
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end;
            std::string line = text.substr(at, end - at);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line.front() == '[') {
                name = line.substr(1, line.find(']') - 1);
                section = &m_Sections[name];
            } else if (const size_t equals = line.find('='); section && equals != line.npos) {
                section->emplace_back(line.substr(0, equals), line.substr(equals + 1));
                if (name == "settings")
                    m_Settings[line.substr(0, equals)] = line.substr(equals + 1);
            }
            at = end + 1;
        }
    }
};

tReference& Reference() {
    static tReference reference(File().m_Text);
    return reference;
}

void BM_ReferenceIdleStep(benchmark::State& state) {
    tReference& reference = Reference();
    const std::string day = "last_alarm_day", month = "last_alarm_month", year = "last_alarm_year";
    for (auto _ : state) {
        struct timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        benchmark::DoNotOptimize(now);
        benchmark::DoNotOptimize(reference.m_Settings.find(day));
        benchmark::DoNotOptimize(reference.m_Settings.find(month));
        benchmark::DoNotOptimize(reference.m_Settings.find(year));
    }
}
BENCHMARK(BM_ReferenceIdleStep);

void BM_ReferenceKeyListsOfAMonth(benchmark::State& state) {
    tReference& reference = Reference();
    char list[1000];
    for (auto _ : state)
        for (int day = 1; day <= 31; ++day) {
            const auto found = reference.m_Sections.find(tDataFile::SectionName(7, day));
            size_t used = 0;
            if (found != reference.m_Sections.end())
                for (const auto& [key, value] : found->second) {
                    if (used + key.size() + 1 >= sizeof list)
                        break;
                    std::memcpy(list + used, key.c_str(), key.size() + 1);
                    used += key.size() + 1;
                }
            benchmark::DoNotOptimize(list);
            benchmark::DoNotOptimize(used);
        }
}
BENCHMARK(BM_ReferenceKeyListsOfAMonth)->Unit(benchmark::kMicrosecond);

// The same questions as the program asks them: within one step of its work.
void BM_CountEntriesOfAMonthInAStep(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    for (auto _ : state) {
        const tWorkStep step;
        for (int day = 1; day <= 31; ++day)
            benchmark::DoNotOptimize(data.CountEntries(7, day));
    }
}
BENCHMARK(BM_CountEntriesOfAMonthInAStep)->Unit(benchmark::kMicrosecond);

void BM_ReadLastAlarmDateInAStep(benchmark::State& state) {
    tDataFile& data = File().m_Data;
    for (auto _ : state) {
        const tWorkStep step;
        benchmark::DoNotOptimize(data.ReadLastAlarmDate());
    }
}
BENCHMARK(BM_ReadLastAlarmDateInAStep);

// A kilobyte figure of /proc/self/status ("VmHWM:", "VmRSS:").
double StatusMegabytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
    return 0;
}

// Opening and then saving into a 50 MB data file: time, and the memory it needs over what the
// process held before (the peak is reset first).
void BM_SaveInto50MegabyteFile(benchmark::State& state) {
    char folder[] = "/tmp/zembrola-bench-XXXXXX";
    const std::string root = mkdtemp(folder);
    std::filesystem::create_directory(root + "/Cal_Data");
    const std::string path = root + "/Cal_Data/DataFile.txt";
    size_t size = 0;
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        std::string section;
        for (int n = 0; size < 50u << 20; ++n) {
            section = "[" + tDataFile::SectionName(n % 12 + 1, n % 28 + 1) + "-" +
                      std::to_string(n) + "]\r\n";
            for (int i = 0; i < 27; ++i)
                section += "Person " + std::to_string(n) + "-" + std::to_string(i) + "=f00" +
                           std::to_string(i % 10) + "\r\n";
            size += std::fwrite(section.data(), 1, section.size(), out);
        }
        std::fclose(out);
    }
    tDataFile data;
    data.SetFileName(path.c_str());
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tProfileCache::Instance().Clear();
        const double before = StatusMegabytes("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak
        state.ResumeTiming();
        data.WriteEntry(3, 9, "Bench person", "m001");
        state.PauseTiming();
        peak = std::max(peak, StatusMegabytes("VmHWM:") - before);
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(size) / (1 << 20);
    state.counters["peak_MB"] = peak;
    state.counters["peak_per_file"] = peak / (static_cast<double>(size) / (1 << 20));
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_SaveInto50MegabyteFile)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
