#include "controls/tOkButton.h"

#include "app/MainFrameAccess.h"
#include "controls/Colours.h"
#include "data/tCalendar.h"
#include "platform/Sound.h"
#include "platform/WindowMessage.h"

using namespace Colours;

bool tOkButton::Create(const char* text, QWidget* parent, int id) {
    return CreateWithText(text, parent, id, kLightBlue, kLightGrey);
}

void tOkButton::OnClick(int) {
    tMainFrame* frame = GetMainFrame();
    if (!frame || MainFrame::Mode(*frame) != tEditModes::kModePicture)
        return;
    tCalendar& calendar = MainFrame::Calendar(*frame);
    if (!calendar.IsNameValid()) {
        calendar.FocusName();
        MessageBeep(0xFFFFFFFF);
        return;
    }
    // A save the data file refuses keeps the user on this page with everything entered.
    if (calendar.SavePerson())
        MainFrame::SetMode(*frame, tEditModes::kModeBrowse);
}
