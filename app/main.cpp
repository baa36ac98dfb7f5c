// Zembrola: a birthday calendar in the system tray.  It takes nothing on its command line and
// works in Cal_Data/ below its current directory.
#include "app/tApp.h"
#include "platform/CurrentDirectory.h"
#include "platform/MessageBox.h"
#include "support/tAnyError.h"
#include "support/tLanguageString.h"

int main(int argc, char** argv) {
    tApp app(argc, argv);
    int status = 0;
    try {
        if (!app.InitInstance())
            return 0; // another instance runs: end quietly
        if (!app.m_FatalError)
            status = app.exec();
    } catch (const tAnyError& error) {
        app.m_FatalError = error.m_Text;
    }
    if (app.m_FatalError) {
        app.m_MainFrame.hide();
        app.m_MainFrame.m_AlarmFrame.hide();
        // This message cannot come from the language file: the language file is what failed.
        AfxMessageBox("Zembrola cannot go on: " + *app.m_FatalError + "\nThe texts come from " +
                      NativePath(GetCurrentDirectory() + "\\" + g_LanguageString.GetFileName()) +
                      ".\nYour birthdays have not been touched.");
        return 2;
    }
    return status;
}
