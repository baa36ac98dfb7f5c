// A scratch copy of the installation data with a data file of 10,000 people, for the
// benchmarks of the windows.
#pragma once

#include <string>

namespace BenchSupport {

// Makes the folder, fills Cal_Data and makes it the current directory.
std::string MakeScratchWithPeople(int people, const std::string& settings);
void RemoveScratch(const std::string& folder);

} // namespace BenchSupport
