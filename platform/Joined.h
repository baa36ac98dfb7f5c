// Text made of parts, joined in one allocation.  (GCC 12 at -O3 takes `"[" + text + "]"` for
// an overlapping copy of 2^63 bytes and, with -Werror, stops the build; this is the same
// thing without the temporaries that mislead it.)
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

inline std::string Joined(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts)
        text.append(part);
    return text;
}
