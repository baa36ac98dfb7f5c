#include "platform/Screen.h"
#include <algorithm>

#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int GetSystemMetrics(int index) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect geometry = screen->geometry();
    return index == SM_CXSCREEN ? geometry.width() : index == SM_CYSCREEN ? geometry.height() : 0;
}

bool GetWindowPlacement(const QWidget* window, WINDOWPLACEMENT* placement) {
    if (!window || !placement)
        return false;
    const QRect frame = window->geometry();
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    // A hidden window is still in its normal state, as Windows reports it.
    placement->showCmd = window->isMinimized() ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = {frame.left(), frame.top(), frame.left() + frame.width(),
                                   frame.top() + frame.height()};
    return true;
}

void SetWindowPlacement(QWidget* window, const WINDOWPLACEMENT* placement) {
    if (!window || !placement)
        return;
    const tPlacementRect& r = placement->rcNormalPosition;
    QRect frame(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(frame.adjusted(8, 8, -8, -8));
    if (!onScreen && QGuiApplication::primaryScreen())
        frame.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft() +
                          QPoint(100, 100));
    window->setGeometry(frame);
    switch (placement->showCmd) {
    case SW_HIDE:
        window->hide();
        break;
    case SW_SHOWMINIMIZED:
        window->showMinimized();
        break;
    default:
        window->show();
        break;
    }
}

void CentreOver(QWidget* window, const QWidget* over) {
    if (!window || !over)
        return;
    QRect place(QPoint(), window->size());
    place.moveCenter(over->frameGeometry().center());
    if (const QScreen* screen = over->screen()) {
        const QRect room = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), room.left(),
                                  std::max(room.left(), room.right() - place.width())));
        place.moveTop(std::clamp(place.top(), room.top(),
                                 std::max(room.top(), room.bottom() - place.height())));
    }
    window->move(place.topLeft());
}
