#pragma once

// What the debugger would show on Windows goes to standard error here.
void OutputDebugString(const char* text);
