// What a text field may hold, as a rule on the code page's bytes, and how a refusal is shown:
// a beep and a tip under the field with the rule's message.
#pragma once

#include <QValidator>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;

class tInputPolicy : public QValidator {
public:
    using tRule = std::function<bool(std::string_view)>;
    using tMessage = std::function<std::string(const std::string&)>;

    // Applies to field from now on; the field owns it.
    tInputPolicy(QLineEdit* field, tRule rule, tMessage message);

    State validate(QString& input, int& position) const override;

private:
    void Refuse();

    QLineEdit* m_Field;
    tRule m_Rule;
    tMessage m_Message;
};
