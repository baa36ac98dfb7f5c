// What the program does from a terminal, without a window: importing address books,
// exporting the calendar and listing the coming birthdays.  It works like the window, in
// Cal_Data/ below the current directory.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

// The exit status when the arguments ask for terminal work, nothing when the window is wanted.
std::optional<int> RunCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err);

// A text of the language's Windows-1252 for the terminal, with no control character left.
std::string TerminalText(const std::string& ansi);
// A UTF-8 text with its control characters shown as "?".
std::string Printable(std::string utf8);
