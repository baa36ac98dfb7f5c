#include "bench/BenchSupport.h"

#include "data/tDataFile.h"
#include "formats/tLibraryFormats.h"
#include "platform/Joined.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

// The benchmarks measure the import's and the export's work, not the plugin's loading: the
// formats are linked in.
const bool g_FormatsLinkedIn = (tFormats::Use(&tLibraryFormats::Instance()), true);

} // namespace

namespace BenchSupport {

std::string MakeScratchWithPeople(int people, const std::string& settings) {
    char pattern[] = "/tmp/zembrola-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::filesystem::copy(ZEMBROLA_SOURCE_DIR "/Cal_Data", folder + "/Cal_Data",
                          std::filesystem::copy_options::recursive);
    static const int lengths[] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::string file;
    std::mt19937 random(11);
    int written = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= lengths[month]; ++day) {
            file += Joined({"[", tDataFile::SectionName(month, day), "]\r\n"});
            const int today = people / 366 + ((month * 31 + day) % 366 < people % 366 ? 1 : 0);
            for (int i = 0; i < today; ++i, ++written)
                file += "Person " + std::to_string(random() % 100000) + "-" + std::to_string(i) +
                        "=" + (i % 2 ? "m" : "f") + "00" + std::to_string(i % 10) + "\r\n";
        }
    file += "[settings]\r\n" + settings;
    FILE* out = std::fopen((folder + "/Cal_Data/DataFile.txt").c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    std::filesystem::current_path(folder);
    return folder;
}

void RemoveScratch(const std::string& folder) {
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
}

} // namespace BenchSupport
