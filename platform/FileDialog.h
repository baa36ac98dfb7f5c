#pragma once

#include <functional>
#include <optional>
#include <string>

// The open-file dialog with a Windows filter ("Text|*.A;*.B|All|*.*||"): the chosen file, or
// nothing when the user cancels.
std::optional<std::string> GetOpenFileName(const char* filter);

// The save-file dialog, starting at suggested (a path); the chosen file, or nothing.
std::optional<std::string> GetSaveFileName(const char* filter, const std::string& suggested);

// Tests answer both dialogs instead of the user.
using tFileDialogHandler = std::function<std::optional<std::string>(const char* filter)>;
tFileDialogHandler SetFileDialogHandler(tFileDialogHandler handler);
