// The calendar window's ways in and out: importing address books (chosen in a dialog or
// dropped on the window), with a review before anything is written, and exporting the
// birthdays as an iCalendar file.
#pragma once

#include "addressbooks/tBookLinks.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;
class tCalendar;

class tTransfer {
public:
    // window: where the dialogs open over.
    tTransfer(tCalendar& calendar, QWidget& window);

    // Asks for a contact file and imports it.
    void OnImport();
    // Reads the cards beside the event loop, shows the review and adds what the user accepts.
    void ImportFiles(const std::vector<std::string>& paths);
    // Asks for a file and writes the calendar to it.
    void OnExport();

    // The birth years the address books give, for the export's descriptions.
    std::function<tBookLinks::tBirthYears()> m_BirthYears;
    // Keeps the years of birth of the imported cards that were added.
    std::function<void(const std::vector<tContactImport::tContact>&)> m_KeepYears;

private:
    tCalendar& m_Calendar;
    QWidget& m_Window;
};
