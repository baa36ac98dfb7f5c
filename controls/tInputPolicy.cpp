#include "controls/tInputPolicy.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "platform/Sound.h"

#include <QLineEdit>
#include <QToolTip>

tInputPolicy::tInputPolicy(QLineEdit* field, tRule rule, tMessage message)
    : QValidator(field), m_Field(field), m_Rule(std::move(rule)), m_Message(std::move(message)) {
    field->setValidator(this);
    connect(field, &QLineEdit::inputRejected, this, [this] { Refuse(); });
}

QValidator::State tInputPolicy::validate(QString& input, int&) const {
    return IsInCodePage(input) && m_Rule(FromQString(input)) ? Acceptable : Invalid;
}

void tInputPolicy::Refuse() {
    MessageBeep(0xFFFFFFFF);
    if (m_Message)
        QToolTip::showText(m_Field->mapToGlobal(QPoint(0, m_Field->height())),
                           ToQString(m_Message(FromQString(m_Field->text()))), m_Field);
}
