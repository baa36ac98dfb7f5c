#include "tests/support/TestSupport.h"

#include "platform/tProfileCache.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

namespace TestSupport {

void SetEnvironment(const char* pairs) {
    std::string_view rest(pairs);
    while (!rest.empty()) {
        const std::string_view pair = rest.substr(0, rest.find('|'));
        rest.remove_prefix(std::min(rest.size(), pair.size() + 1));
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos)
            setenv(std::string(pair.substr(0, equals)).c_str(),
                   std::string(pair.substr(equals + 1)).c_str(), 1);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void WriteFile(const std::string& path, std::string_view contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string LastAlarm(int day, int month, int year) {
    return "last_alarm_day=" + std::to_string(day) + "\nlast_alarm_month=" + std::to_string(month) +
           "\nlast_alarm_year=" + std::to_string(year) + "\n";
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

std::string SourceCalData() {
    return ZEMBROLA_SOURCE_DIR "/Cal_Data";
}

tScratch::tScratch(tContent content) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zembrola-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_Path = pattern;
    m_PreviousDirectory = fs::current_path().string();
    if (content == tContent::InstallationData)
        fs::copy(SourceCalData(), m_Path + "/Cal_Data", fs::copy_options::recursive);
    else if (content == tContent::EmptyCalData)
        fs::create_directory(m_Path + "/Cal_Data");
    fs::current_path(m_Path);
    // Another folder: nothing read in the one before counts (the program itself never moves).
    tProfileCache::Instance().Clear();
}

tScratch::~tScratch() {
    std::error_code ignored;
    fs::current_path(m_PreviousDirectory, ignored);
    tProfileCache::Instance().Clear();
    // Tests may leave read-only files and folders behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(m_Path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(m_Path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_Path, ignored);
}

tZone::tZone(const char* zone) {
    if (const char* previous = std::getenv("TZ"))
        m_Previous = previous;
    setenv("TZ", zone, 1);
    tzset();
}

tZone::~tZone() {
    if (m_Previous)
        setenv("TZ", m_Previous->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

std::string tScratch::operator/(std::string_view relative) const {
    return m_Path + "/" + std::string(relative);
}

} // namespace TestSupport
