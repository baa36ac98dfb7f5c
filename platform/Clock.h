// The present moment and the millisecond tick.  Tests set them; the program never does.
#pragma once

#include <cstdint>
#include <optional>

namespace Clock {

// Seconds since 1970-01-01 00:00 UTC.
int64_t Now();
void SetNow(std::optional<int64_t> seconds);

// Milliseconds from a monotonic clock, wrapping at 2^32 like the Windows tick count.
uint32_t GetTickCount();
void SetTickCount(std::optional<uint32_t> milliseconds);

} // namespace Clock
