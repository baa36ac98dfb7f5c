// The shell: opening a document with the user's program for it.
#pragma once

#include <functional>
#include <string>

class QString;
class QWidget;

// False when the file is missing or no program could be started for it.
bool ShellExecute(QWidget* owner, const char* verb, const char* file);
// Whether the desktop names a program that opens the file.
bool HasOpener(const QString& file);

using tShellHandler = std::function<bool(const std::string& file)>;
tShellHandler SetShellHandler(tShellHandler handler);
