#include "controls/tColourEdit.h"

#include "app/tApp.h"
#include "platform/Sound.h"
#include "platform/WindowMessage.h"

#include <QKeyEvent>
#include <QToolTip>
#include <QValidator>
#include <algorithm>

namespace {

// Accepts exactly the texts the field's rule accepts, in the code page.
class tRuleValidator : public QValidator {
public:
    explicit tRuleValidator(std::function<bool(std::string_view)> rule, QObject* parent)
        : QValidator(parent), m_Rule(std::move(rule)) {}

    State validate(QString& input, int&) const override {
        return IsInCodePage(input) && m_Rule(FromQString(input)) ? Acceptable : Invalid;
    }

private:
    std::function<bool(std::string_view)> m_Rule;
};

} // namespace

tColourEdit::tColourEdit() {
    setFrame(false);
    connect(this, &QLineEdit::inputRejected, this, [this] { ShowRefusal(); });
}

bool tColourEdit::Create(uint32_t style, QWidget* parent, int) {
    if (!parent)
        return false;
    setParent(parent);
    setAlignment((style & ES_CENTER) ? Qt::AlignCenter : Qt::AlignLeft);
    setGeometry(0, 0, 0, 0);
    setVisible((style & WS_VISIBLE) != 0);
    return true;
}

void tColourEdit::SetColours(COLORREF text, COLORREF background, COLORREF brush) {
    m_UseColours = true;
    m_TextColour = text;
    m_BackColour = background;
    m_BrushColour = brush;
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, ToQColor(text));
        colours.setColor(group, QPalette::Base, ToQColor(background));
        colours.setColor(group, QPalette::Window, ToQColor(brush));
    }
    setPalette(colours);
}

void tColourEdit::Measure() {
    // Measured in the default font, with the text the field holds now.
    int width = 0, height = 0;
    Gdi::TextExtent(GetWindowText(), &width, &height);
    m_MeasuredSize[0] = width + 8;
    m_MeasuredSize[1] = height + 6;
}

void tColourEdit::Place() {
    setGeometry(m_X, m_Y, std::max(0, m_Width), std::max(0, m_Height));
}

void tColourEdit::SetVisible(bool visible) {
    m_Visible = visible;
    setVisible(visible);
}

bool tColourEdit::IsVisible() const {
    return isVisible();
}

std::string tColourEdit::GetWindowText() const {
    return FromQString(text());
}

void tColourEdit::SetWindowText(const std::string& text) {
    setText(ToQString(text));
}

void tColourEdit::SetInputRule(std::function<bool(std::string_view)> rule,
                               std::function<std::string(const std::string&)> message) {
    m_RefusalMessage = std::move(message);
    setValidator(new tRuleValidator(std::move(rule), this));
}

void tColourEdit::ShowRefusal() {
    MessageBeep(0xFFFFFFFF);
    if (m_RefusalMessage)
        QToolTip::showText(mapToGlobal(QPoint(0, height())),
                           ToQString(m_RefusalMessage(GetWindowText())), this);
}

void tColourEdit::keyPressEvent(QKeyEvent* event) {
    if (tMainFrame* frame = GetMainFrame(); frame && window() == frame && frame->OnKey(event))
        return;
    QLineEdit::keyPressEvent(event);
}
