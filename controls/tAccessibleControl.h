// What a screen reader is told about the program's own controls: Qt describes every button
// as a push button named by its caption, which for a control that draws itself is often a
// letter, a symbol or nothing.  Each control says its role, name and states instead.
#pragma once

#include <QAccessibleWidget>

class tOwnerDrawButton;

class tAccessibleControl : public QAccessibleWidget {
public:
    explicit tAccessibleControl(tOwnerDrawButton* control);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes the program's controls and windows describe themselves; once per run.
    static void Install();
    // Tells a screen reader that a state of the control changed.
    static void StateChanged(QWidget* widget, QAccessible::State changed);

private:
    tOwnerDrawButton* Control() const;
};
