#include "platform/MessageBox.h"

#include "platform/Screen.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {
tMessageBoxHandler g_Handler;
}

namespace {

// Over the window the user works in (the calendar, where the question was asked), not in
// the middle of the screen; within the screen.
// A short message makes a box narrower than its title, which a window manager then cuts
// ("Zembrola \u2013 Bi\u2026" on openbox): the box is made wide enough for the title and the
// title bar's buttons.  The window manager's font is not known here; the application's, with
// a fifth more, stands in for it.
void RoomForTitle(QMessageBox& box) {
    const int title = box.fontMetrics().horizontalAdvance(box.windowTitle());
    constexpr int kTitleButtons = 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(title * 6 / 5 + kTitleButtons, 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

void PlaceOverActiveWindow(QMessageBox& box) {
    RoomForTitle(box);
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
