// The program's terminal options run in the test's process, with what they print caught.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct tTerminalRun {
    std::optional<int> m_Status; // none: the arguments asked for the window
    std::string m_Out;
    std::string m_Err;
};

// arguments without the program's name.
tTerminalRun Zembrola(std::vector<std::string> arguments);

} // namespace TestSupport
