#include "platform/MessageBox.h"

#include "platform/Screen.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
tMessageBoxHandler g_Handler;
}

namespace {

// Over the window the user works in (the calendar, where the question was asked), not in
// the middle of the screen; within the screen.
void PlaceOverActiveWindow(QMessageBox& box) {
    const QWidget* over = QApplication::activeWindow();
    if (!over || !over->isVisible())
        return;
    box.adjustSize();
    CentreOver(&box, over);
}

} // namespace

void AfxMessageBox(const std::string& text) {
    if (g_Handler) {
        g_Handler(text);
        return;
    }
    // The program's windows are frameless tool windows; the box takes the application's name.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    ToQString(text).trimmed(), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    PlaceOverActiveWindow(box);
    box.exec();
}

tMessageBoxHandler SetMessageBoxHandler(tMessageBoxHandler handler) {
    tMessageBoxHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}

namespace {
tQuestionHandler g_QuestionHandler;
}

bool AfxQuestion(const std::string& text, const std::string& yes, const std::string& no) {
    if (g_QuestionHandler)
        return g_QuestionHandler(text);
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    ToQString(text).trimmed());
    QPushButton* yesButton = box.addButton(ToQString(yes), QMessageBox::AcceptRole);
    QPushButton* noButton = box.addButton(ToQString(no), QMessageBox::RejectRole);
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    PlaceOverActiveWindow(box);
    box.exec();
    return box.clickedButton() == yesButton;
}

tQuestionHandler SetQuestionHandler(tQuestionHandler handler) {
    tQuestionHandler previous = std::move(g_QuestionHandler);
    g_QuestionHandler = std::move(handler);
    return previous;
}
