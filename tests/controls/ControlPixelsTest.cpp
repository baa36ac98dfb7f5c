// What the controls paint, read back pixel by pixel.
#include "controls/Colours.h"
#include "controls/tDayCell.h"
#include "controls/tLabel.h"
#include "controls/tMonthButton.h"
#include "tests/support/AppTestSupport.h"

#include <QImage>
#include <QTest>
#include <QWidget>

using namespace Colours;

namespace {

QRgb Rgb(COLORREF colour) {
    return ToQColor(colour).rgb();
}

class ControlPixelsTest : public testing::Test {
protected:
    template <class T>
    T* Make(int width, int height, const char* text = "") {
        auto* control = new T;
        if constexpr (std::is_same_v<T, tOwnerDrawButton>)
            control->Create(text, WS_VISIBLE, &m_Parent, 1);
        else
            control->Create(text, &m_Parent, 1);
        control->setGeometry(0, 0, width, height);
        return control;
    }
    static QImage Grab(QWidget* widget) {
        return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget m_Parent;
};

TEST_F(ControlPixelsTest, RaisedBevelOnA20By10Control) {
    auto* button = Make<tOwnerDrawButton>(20, 10);
    tFrameStyle raised;
    raised.SetRaised();
    button->m_Looks[tOwnerDrawButton::kNormal].m_Fill = true;
    button->m_Looks[tOwnerDrawButton::kNormal].m_FillColour = kLightBlue;
    button->m_Looks[tOwnerDrawButton::kNormal].m_Frame = &raised;
    const QImage image = Grab(button);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            QRgb expected = Rgb(kLightBlue);
            if ((y == 0 && x <= 18) || (x == 0 && y >= 1))
                expected = Rgb(kWhite);
            if ((x == 19 && y <= 8) || (y == 9 && x >= 1))
                expected = Rgb(kBlack);
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(ControlPixelsTest, TheShownMonthIsATabOpenAtTheBottom) {
    auto* month = Make<tMonthButton>(30, 20, "J");
    month->SetMonthLook(0);
    QImage image = Grab(month);
    EXPECT_EQ(image.pixel(10, 0), Rgb(kWhite));
    EXPECT_EQ(image.pixel(10, 1), Rgb(kWhite)) << "a 2-pixel top";
    EXPECT_EQ(image.pixel(29, 10), Rgb(kBlack));
    EXPECT_EQ(image.pixel(28, 10), Rgb(kBlack)) << "a 2-pixel right side";
    EXPECT_EQ(image.pixel(0, 10), Rgb(kWhite));
    EXPECT_EQ(image.pixel(15, 19), Rgb(kLightBlue)) << "no bottom line";
    month->SetMonthLook(1);
    image = Grab(month);
    EXPECT_EQ(image.pixel(15, 19), Rgb(kWhite)) << "the plain look has a white bottom";
    EXPECT_EQ(image.pixel(10, 1), Rgb(kLightBlue));
    month->SetMonthLook(2); // changes nothing
    EXPECT_EQ(Grab(month), image);
}

TEST_F(ControlPixelsTest, TodayHasATwoPixelRedFrame) {
    auto* cell = Make<tDayCell>(20, 16, "  ");
    cell->SetCellKind(tDayCell::kToday);
    const QImage image = Grab(cell);
    for (int x = 2; x < 18; ++x) {
        EXPECT_EQ(image.pixel(x, 0), Rgb(kRed)) << x;
        EXPECT_EQ(image.pixel(x, 1), Rgb(kRed)) << x;
        EXPECT_EQ(image.pixel(x, 14), Rgb(kRed)) << x;
        EXPECT_EQ(image.pixel(x, 15), Rgb(kRed)) << x;
    }
    EXPECT_EQ(image.pixel(8, 2), Rgb(kMidBlue));
}

// The keyboard focus is drawn inside a control's own border: today keeps its red frame and
// the shown month its tab open at the foot, and the focus is still plain to see.
TEST_F(ControlPixelsTest, TheFocusFrameKeepsTodayAndTheOpenTab) {
    auto* today = Make<tDayCell>(20, 16, "  ");
    today->SetCellKind(tDayCell::kToday);
    auto* day = Make<tDayCell>(20, 16, "  ");
    day->SetCellKind(tDayCell::kDay);
    day->move(0, 20);
    auto* month = Make<tMonthButton>(30, 20, "J");
    month->SetMonthLook(0);
    month->move(0, 40);
    m_Parent.resize(40, 70);
    m_Parent.show();
    m_Parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_Parent));
    m_Parent.setAttribute(Qt::WA_KeyboardFocusChange); // as after a key
    const struct {
        const char* m_Name;
        tOwnerDrawButton* m_Control;
        QPoint m_Pixel;
        COLORREF m_Colour;
    } rows[] = {
        {"today's frame, top", today, {10, 0}, kRed},
        {"today's frame, 2 px", today, {10, 1}, kRed},
        {"today's frame, left", today, {1, 8}, kRed},
        {"today's frame, bottom", today, {10, 15}, kRed},
        {"the focus inside it", today, {10, 2}, kStrongBlue},
        {"the focus's white line", today, {10, 4}, kWhite},
        {"a day's bevel", day, {10, 0}, kWhite},
        {"the focus inside the bevel", day, {10, 1}, kStrongBlue},
        {"the tab's top", month, {15, 1}, kWhite},
        {"the tab's right side", month, {28, 10}, kBlack},
        {"the focus below the top", month, {15, 2}, kStrongBlue},
        {"the focus down the left side", month, {2, 19}, kStrongBlue},
        {"the tab's foot stays open", month, {15, 19}, kLightBlue},
        {"no line across the foot", month, {6, 18}, kLightBlue},
        {"the white line down to the foot", month, {4, 19}, kWhite},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        row.m_Control->setFocus();
        ASSERT_TRUE(row.m_Control->hasFocus());
        EXPECT_EQ(Grab(row.m_Control).pixel(row.m_Pixel), Rgb(row.m_Colour));
    }
}

TEST_F(ControlPixelsTest, ADayWithBirthdaysPressedAndReleased) {
    auto* cell = Make<tDayCell>(20, 16, "  ");
    cell->SetAllTexts("24", true);
    cell->SetCellKind(tDayCell::kBirthday);
    QImage image = Grab(cell);
    EXPECT_EQ(image.pixel(1, 1), Rgb(kOrange));
    EXPECT_EQ(image.pixel(5, 0), Rgb(kWhite)) << "raised";
    EXPECT_EQ(image.pixel(5, 15), Rgb(kBlack));
    cell->setDown(true);
    image = Grab(cell);
    EXPECT_EQ(image.pixel(1, 1), Rgb(kStrongBlue));
    EXPECT_EQ(image.pixel(5, 0), Rgb(kBlack)) << "sunken";
    EXPECT_EQ(image.pixel(5, 15), Rgb(kWhite));
    cell->setDown(false);
    EXPECT_EQ(Grab(cell).pixel(1, 1), Rgb(kOrange));
    cell->SetCellKind(tDayCell::kEmpty);
    EXPECT_FALSE(cell->isEnabled());
    EXPECT_EQ(Grab(cell).pixel(1, 1), Rgb(kLightBlue));
    EXPECT_EQ(cell->GetWindowText(), "  ") << "the caption keeps its two blanks";
}

// The day's number: yellow on a day with birthdays, light grey on the others (today with
// birthdays too, where the red frame says enough).
TEST_F(ControlPixelsTest, ADaysNumberIsYellowOnlyOnADayWithBirthdays) {
    QFont font("Liberation Sans");
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    const struct {
        int m_Kind;
        COLORREF m_Text, m_Not;
    } rows[] = {
        {tDayCell::kDay, kLightGrey, kYellow},
        {tDayCell::kToday, kLightGrey, kYellow},
        {tDayCell::kBirthday, kYellow, kLightGrey},
        {tDayCell::kTodayBirthday, kLightGrey, kYellow},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Kind);
        auto* cell = Make<tDayCell>(24, 16, "  ");
        cell->setFont(font);
        cell->SetAllTexts("24", true);
        cell->SetCellKind(row.m_Kind);
        const QImage image = Grab(cell);
        int text = 0, other = 0;
        for (int y = 2; y < image.height() - 2; ++y)
            for (int x = 2; x < image.width() - 2; ++x) {
                text += image.pixel(x, y) == Rgb(row.m_Text);
                other += image.pixel(x, y) == Rgb(row.m_Not);
            }
        EXPECT_GT(text, 10);
        EXPECT_EQ(other, 0);
    }
}

TEST_F(ControlPixelsTest, TheShadowIsTheTextOnePixelRightAndDown) {
    auto* label = new tLabel;
    label->Create("Hi&", &m_Parent);
    label->setGeometry(0, 0, 40, 24);
    QFont font("Liberation Sans");
    font.setPixelSize(18);
    font.setStyleStrategy(QFont::NoAntialias);
    label->setFont(font);
    label->SetColours(kWhite, kRed);
    tButtonLook& look = label->m_Looks[tOwnerDrawButton::kDisabled];
    look.m_ShadowColour = kBlack;
    const QImage plain = Grab(label);
    look.m_Shadow = true;
    const QImage shadowed = Grab(label);
    int text = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool isText = plain.pixel(x, y) == Rgb(kRed);
            const bool underShadow = x > 0 && y > 0 && plain.pixel(x - 1, y - 1) == Rgb(kRed);
            text += isText;
            const QRgb expected = isText ? Rgb(kRed) : underShadow ? Rgb(kBlack) : Rgb(kWhite);
            ASSERT_EQ(shadowed.pixel(x, y), expected) << x << "," << y;
        }
    EXPECT_GT(text, 20) << "the text, ampersand included, was drawn";
}

TEST_F(ControlPixelsTest, TextThatIsNotCentredKeepsABlanksDistance) {
    auto* label = new tLabel;
    label->Create("I", &m_Parent);
    label->setGeometry(0, 0, 60, 20);
    label->SetColours(kWhite, kBlack);
    label->SetTextAlignment(DT_LEFT);
    const QImage image = Grab(label);
    int first = 60;
    for (int x = 0; x < 60 && first == 60; ++x)
        for (int y = 0; y < 20; ++y)
            if (image.pixel(x, y) != Rgb(kWhite))
                first = std::min(first, x);
    EXPECT_GE(first, QFontMetrics(label->font()).horizontalAdvance(' ') - 1);
    EXPECT_LT(first, 15);
}

} // namespace
