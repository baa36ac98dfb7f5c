#include "platform/tWorkStep.h"

#include "platform/CurrentDirectory.h"

namespace {

int g_Depth = 0;
uint64_t g_Number = 0;
bool g_LoopPolled = false;
std::string g_Directory;
uint64_t g_DirectoryStep = 0; // the step that read g_Directory, 0: none

} // namespace

tWorkStep::tWorkStep(tKind kind) {
    if (g_Depth++ == 0) {
        ++g_Number;
        g_LoopPolled = kind == kLoopPolled;
    }
}

tWorkStep::~tWorkStep() {
    --g_Depth;
}

bool tWorkStep::Running() {
    return g_Depth > 0;
}

uint64_t tWorkStep::Number() {
    return g_Number;
}

bool tWorkStep::LoopPolled() {
    return g_Depth > 0 && g_LoopPolled;
}

const std::string& tWorkStep::CurrentDirectory() {
    if (!Running() || g_DirectoryStep != g_Number) {
        g_Directory = GetCurrentDirectory();
        g_DirectoryStep = Running() ? g_Number : 0;
    }
    return g_Directory;
}
