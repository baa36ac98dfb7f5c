#include "controls/tAccessibleControl.h"

#include "alarm/tAlarmFrame.h"
#include "controls/tOwnerDrawButton.h"

namespace {

// The alarm window is an alert: a screen reader reads it out as it appears.
class tAccessibleAlert : public QAccessibleWidget {
public:
    explicit tAccessibleAlert(QWidget* window)
        : QAccessibleWidget(window, QAccessible::AlertMessage) {}
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    // The controls have no meta-object of their own: they are told apart by their C++ type.
    if (auto* control = dynamic_cast<tOwnerDrawButton*>(object))
        return new tAccessibleControl(control);
    if (auto* alarm = dynamic_cast<tAlarmFrame*>(object))
        return new tAccessibleAlert(alarm);
    return nullptr;
}

} // namespace

tAccessibleControl::tAccessibleControl(tOwnerDrawButton* control)
    : QAccessibleWidget(control, control->AccessibleRole()) {}

tOwnerDrawButton* tAccessibleControl::Control() const {
    return static_cast<tOwnerDrawButton*>(widget());
}

QAccessible::Role tAccessibleControl::role() const {
    return Control()->AccessibleRole(); // a control may learn its role after it was created
}

QAccessible::State tAccessibleControl::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const tOwnerDrawButton* control = Control();
    if (control->m_IsToggle) {
        state.checkable = true;
        state.checked = control->m_Checked;
    }
    control->AddAccessibleState(state);
    return state;
}

QStringList tAccessibleControl::actionNames() const {
    if (!Control()->isEnabled())
        return {};
    return {Control()->m_IsToggle ? toggleAction() : pressAction()};
}

void tAccessibleControl::doAction(const QString& actionName) {
    if (actionNames().contains(actionName))
        Control()->Activate();
}

void tAccessibleControl::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void tAccessibleControl::StateChanged(QWidget* widget, QAccessible::State changed) {
    if (!widget || !QAccessible::isActive())
        return;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}
