#pragma once

#include <string>

// The process's current directory, without a trailing separator (except for "/").
std::string GetCurrentDirectory();

// Paths are built with "\" as on Windows; this opens them with "/".
std::string NativePath(std::string path);

// The program's relative name (written with "\") below the current directory, whose own
// name is taken as it is.
std::string FullPath(const std::string& relative);
