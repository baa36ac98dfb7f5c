// The error log holds only the latest message, in Errors.log of the temporary directory.
#pragma once

#include <string>

// Builds the log path from the values of TMP and TEMP (null when unset); "." when neither.
std::string MakeErrorLogPath(const char* tmp, const char* temp);

// The path fixed for this run during static initialisation.
const char* ErrorLogPath();

void ErrorLogWrite(const char* text, bool alsoDebugger);
void ErrorLogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats into buffer (size bytes), appends a line feed, logs it and returns buffer.
char* ErrorText(char* buffer, unsigned size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Logs a broken assumption and carries on.
void AssumptionFailed(const char* condition, const char* file, int line);

// The log names the source by its base name, as the program's sources are named after their
// classes ("tRegistry").
#define ASSUME(condition)                                                                          \
    do {                                                                                           \
        if (!(condition))                                                                          \
            AssumptionFailed(#condition, __FILE__, __LINE__);                                      \
    } while (false)
