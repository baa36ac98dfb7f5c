#pragma once

#include <functional>
#include <optional>
#include <string>

// The open-file dialog with a Windows filter ("Text|*.A;*.B|All|*.*||"): the chosen file, or
// nothing when the user cancels.
std::optional<std::string> GetOpenFileName(const char* filter);

using tFileDialogHandler = std::function<std::optional<std::string>(const char* filter)>;
tFileDialogHandler SetFileDialogHandler(tFileDialogHandler handler);
