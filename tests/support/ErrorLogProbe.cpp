// Writes one message to the error log and exits: lets the tests watch the log's path rules
// and failure reports in a process whose environment they chose.
#include "support/ErrorLog.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    std::printf("%s\n", ErrorLogPath());
    std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "assume") == 0)
        ASSUME(argc == 7);
    else if (argc > 1)
        ErrorLogWrite(argv[1], false);
    return 0;
}
