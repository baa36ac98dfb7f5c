#include "platform/DebugOutput.h"

#include <cstdio>

void OutputDebugString(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}
