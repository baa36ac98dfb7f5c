// Whether the keyboard's focus frame shows in a window: once the user works with keys, gone at
// a click. Qt marks a window on Tab (Qt::WA_KeyboardFocusChange) but never unmarks it, and our
// arrows move the focus themselves; this filter keeps that mark for a whole window's tree.
#pragma once

#include <QObject>

class QWidget;

class tFocusFrameFilter : public QObject {
public:
    // Watches the window and everything in it as built now.
    void Watch(QWidget* window);

    // Whether the control's window shows its focus frame.
    static bool Shown(const QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
