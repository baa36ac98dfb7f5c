#include "platform/MessageBox.h"

#include "platform/Gdi.h"

#include <QApplication>
#include <QMessageBox>

namespace {
tMessageBoxHandler g_Handler;
}

void AfxMessageBox(const std::string& text) {
    if (g_Handler) {
        g_Handler(text);
        return;
    }
    // The program's windows are frameless tool windows; the box takes the application's name.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    ToQString(text).trimmed(), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

tMessageBoxHandler SetMessageBoxHandler(tMessageBoxHandler handler) {
    tMessageBoxHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
