#include "tests/support/TerminalRun.h"

#include "app/CommandLine.h"

#include <cstdio>
#include <cstdlib>

namespace TestSupport {

tTerminalRun Zembrola(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "zembrola");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    char* out = nullptr;
    char* err = nullptr;
    size_t outSize = 0, errSize = 0;
    FILE* outFile = open_memstream(&out, &outSize);
    FILE* errFile = open_memstream(&err, &errSize);
    tTerminalRun run;
    run.m_Status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), outFile, errFile);
    std::fclose(outFile);
    std::fclose(errFile);
    run.m_Out = out;
    run.m_Err = err;
    std::free(out);
    std::free(err);
    return run;
}

} // namespace TestSupport
