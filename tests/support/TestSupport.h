// Helpers shared by the tests: scratch folders, file contents, the installation data.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace TestSupport {

// Sets each NAME=value of a list separated by "|": a test binary's own environment.
void SetEnvironment(const char* pairs);

// Makes every read of an open file whose path ends with nameEnd fail with this error number
// (0: normal reads again), as a failing disk would.
void InjectReadError(int error, const std::string& nameEnd = "DataFile.txt");

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view contents);
bool FileExists(const std::string& path);
// The stored date of the last alarm, as the settings section's lines.
std::string LastAlarm(int day, int month, int year);

// The folder Cal_Data of the source tree (read only: tests never write there).
std::string SourceCalData();

// A fresh folder that becomes the current directory for the scratch's lifetime and is
// removed afterwards.  With installation data, it holds a copy of the source Cal_Data;
// otherwise an empty Cal_Data.
class tScratch {
public:
    enum class tContent { Empty, EmptyCalData, InstallationData };
    explicit tScratch(tContent content = tContent::EmptyCalData);
    ~tScratch();
    tScratch(const tScratch&) = delete;
    tScratch& operator=(const tScratch&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string operator/(std::string_view relative) const;

private:
    std::string m_Path;
    std::string m_PreviousDirectory;
};

// The local time zone for the object's lifetime, the previous one restored afterwards.
class tZone {
public:
    explicit tZone(const char* zone);
    ~tZone();
    tZone(const tZone&) = delete;
    tZone& operator=(const tZone&) = delete;

private:
    std::optional<std::string> m_Previous;
};

} // namespace TestSupport
