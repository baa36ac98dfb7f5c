// The name field takes only what the data file gives back unchanged.
#include "controls/tColourEdit.h"
#include "tests/support/AppTestSupport.h"

#include <QClipboard>

using TestSupport::Recorder;
using TestSupport::tFrameTest;

namespace {

// Types text character by character, as a keyboard with any layout would.
void Type(QWidget* field, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

class NameFieldTest : public tFrameTest {
protected:
    void SetUp() override {
        CreateFrame();
        m_Frame->SetMode(tMainFrame::kModeGender);
        m_Field = Calendar().m_NameEdit;
        m_Field->SetWindowText("");
        m_Field->setFocus();
    }
    tColourEdit* m_Field = nullptr;
};

TEST_F(NameFieldTest, TypedTextThatCouldNotBeStoredIsRefusedVisibly) {
    struct {
        const char* name;
        QString typed;
        std::string kept;
        int refusals;
    } const rows[] = {
        {"plain name", "Jean-Luc O'Neil", "Jean-Luc O'Neil", 0},
        {"accents of the code page", QString::fromUtf8("Zoë Ångström"), "Zo\xEB \xC5ngstr\xF6m", 0},
        {"equals sign", "Jo=Ann", "JoAnn", 1},
        {"leading bracket", "[Bob", "Bob", 1},
        {"leading hash", "#1", "1", 1},
        {"leading semicolon", ";x", "x", 1},
        {"hash inside", "Ann #2", "Ann #2", 0},
        {"outside the code page", QString::fromUtf8("Zo\u0107"), "Zo", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_Field->SetWindowText("");
        Recorder().m_Beeps = 0;
        Type(m_Field, row.typed);
        EXPECT_EQ(m_Field->GetWindowText(), row.kept);
        EXPECT_EQ(Recorder().m_Beeps, row.refusals);
    }
}

TEST_F(NameFieldTest, APasteThatWouldBreakTheNameKeepsWhatTheFieldHeld) {
    Type(m_Field, "Anna");
    QApplication::clipboard()->setText("Maria\nJoe");
    Recorder().m_Beeps = 0;
    m_Field->paste();
    EXPECT_EQ(m_Field->GetWindowText(), "Anna");
    EXPECT_EQ(Recorder().m_Beeps, 1);
    QApplication::clipboard()->setText(" Maria");
    m_Field->paste();
    EXPECT_EQ(m_Field->GetWindowText(), "Anna Maria");
}

TEST_F(NameFieldTest, NamesAreLimitedToWhatADaysListCanHold) {
    Type(m_Field, QString(60, 'x'));
    EXPECT_EQ(m_Field->GetWindowText().size(), tDataFile::kMaxNameLength);
}

TEST_F(NameFieldTest, ReadOnlyWhileBrowsing) {
    m_Frame->SetMode(tMainFrame::kModeBrowse);
    Type(m_Field, "Zed");
    EXPECT_EQ(m_Field->GetWindowText(), "");
}

} // namespace
