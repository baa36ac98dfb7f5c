#include "controls/tFocusFrameFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

} // namespace

void tFocusFrameFilter::Watch(QWidget* window) {
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool tFocusFrameFilter::Shown(const QWidget* control) {
    return control->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

bool tFocusFrameFilter::eventFilter(QObject* watched, QEvent* event) {
    // A modifier alone (Shift, Ctrl, Alt) moves no focus: it shows no frame.
    const bool key =
        event->type() == QEvent::KeyPress && !IsModifierKey(static_cast<QKeyEvent*>(event)->key());
    if ((key || event->type() == QEvent::MouseButtonPress) && watched->isWidgetType()) {
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window->testAttribute(Qt::WA_KeyboardFocusChange) != key) {
            window->setAttribute(Qt::WA_KeyboardFocusChange, key);
            if (QWidget* focus = window->focusWidget())
                focus->update();
        }
    }
    return QObject::eventFilter(watched, event);
}
