// The platform's texts may be null where they mean "nothing".
#pragma once

inline const char* OrEmpty(const char* text) {
    return text ? text : "";
}
