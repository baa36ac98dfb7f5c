#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace Clock {
namespace {
std::optional<int64_t> g_Now;
std::optional<uint32_t> g_Tick;
} // namespace

int64_t Now() {
    return g_Now ? *g_Now : static_cast<int64_t>(std::time(nullptr));
}

void SetNow(std::optional<int64_t> seconds) {
    g_Now = seconds;
}

uint32_t GetTickCount() {
    if (g_Tick)
        return *g_Tick;
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SetTickCount(std::optional<uint32_t> milliseconds) {
    g_Tick = milliseconds;
}

} // namespace Clock
