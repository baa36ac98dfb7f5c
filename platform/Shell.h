// The shell: opening a document with the user's program for it.
#pragma once

#include <functional>
#include <string>

class QWidget;

void ShellExecute(QWidget* owner, const char* verb, const char* file);

using tShellHandler = std::function<void(const std::string& file)>;
tShellHandler SetShellHandler(tShellHandler handler);
