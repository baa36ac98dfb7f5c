// The modal message box with an OK button.  Tests redirect it to a recorder.
#pragma once

#include <functional>
#include <string>

void AfxMessageBox(const std::string& text);

using tMessageBoxHandler = std::function<void(const std::string& text)>;
// Replaces the message box; returns the handler that was in force (empty: the real box).
tMessageBoxHandler SetMessageBoxHandler(tMessageBoxHandler handler);

// A modal question with two buttons; true when the user chose yes.  Esc or closing the box
// chooses no.
bool AfxQuestion(const std::string& text, const std::string& yes, const std::string& no);

using tQuestionHandler = std::function<bool(const std::string& text)>;
tQuestionHandler SetQuestionHandler(tQuestionHandler handler);
