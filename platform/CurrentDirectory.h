#pragma once

#include <string>

// The process's current directory, without a trailing separator (except for "/").
std::string GetCurrentDirectory();

// Paths are built with "\" as on Windows; this opens them with "/".
std::string NativePath(std::string path);
