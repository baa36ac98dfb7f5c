// The logic behind the calendar window: which month is shown and which day selected, the
// people of that day and the one shown, the person being entered, the days of notice and the
// alarm switch.  It reads and writes the data file at once and drives the controls that the
// main window created for it.
#pragma once

#include "data/tDataFile.h"
#include "support/Messages.h"

#include "data/tCalendarEvents.h"

#include <cstdint>
#include <string>
#include <string_view>

class tCheckButton;
class tColourEdit;
class tDayCell;
class tLabel;
class tMonthButton;
class tPersonStepButton;
class tWeekdayHeader;

class tCalendar {
public:
    tCalendar();
    virtual ~tCalendar() = default;

    // Language keys and month lengths; index 0 is never used.
    static const char* GetMonthName(int month);      // "january" .. "december"
    static const char* GetMonthShortName(int month); // "jan" .. "dec"
    static const char* GetWeekdayShortName(int day); // "sun" .. "sat"
    static int GetMonthLength(int month);            // February always has 29 days

    static constexpr const char* kDefaultPicture = "Cal_Data\\DefImage.bmp";
    // The date as the language writes it ("24 December", "December 24").
    static std::string DateText(int month, int day);
    // The same for screen readers: a text missing from the language file is no reason to stop,
    // the English one stands in for it.
    static std::string SpokenDateText(int month, int day);
    static std::string SpokenMonthName(int month);
    // Loads a person's picture into view; a missing one is said once and the default picture
    // stands in for it.  Returns the picture shown.
    static std::string LoadPersonPicture(tLabel& view, const std::string& path);

    void SelectMonth(int month);
    void FillMonth(int month);
    void MarkWeekday(int weekday);
    int CountPeople(int month, int day) const;
    void SelectDay(int day);
    void ShowPerson(int index);
    // Selects the person's month and day and shows that person (a search's find).
    void ShowPersonAt(int month, int day, const std::string& exact);
    // Tab reaches the grid and the months once each, at the selected day (or today) and the
    // shown month; the arrows move inside them.
    void UpdateTabStops();
    // Moves the selected day by that many days, into other months where it must, and gives
    // its cell the keyboard.
    void MoveSelection(int days);
    void OnDayClicked(int cell);
    void OnDayDoubleClicked(int cell);
    // Leaves the entry of a new person, with nothing written, and shows the day again.
    void CancelEntry();
    void SetNotifyDays(int days);
    void IncreaseNotifyDays() { SetNotifyDays(m_NotifyDays + 1); }
    void DecreaseNotifyDays() { SetNotifyDays(m_NotifyDays - 1); }
    // exact: the name as the data file holds it (UTF-8), when it has more than the code page.
    void SetName(const std::string& name, const std::string& exact = {});
    void SetDate(int month, int day);
    void SetNameEditable(bool editable);
    int CountPictures(const std::string& gender);
    // The pictures of a gender in Cal_Data/Images, counted from 000 to the first missing one.
    static int CountPictureFiles(const std::string& gender);
    void SetGender(const std::string& gender);
    void SetPicture(int number);
    void NextPicture() { SetPicture(m_PictureNumber + 1); }
    void PreviousPicture() { SetPicture(m_PictureNumber - 1); }
    void ShowPicture();
    // Not empty, not beginning with a blank, and read back from the data file as typed.
    // Trailing blanks are dropped from the name field first.
    bool IsNameValid();
    void FocusName();
    // Saves the person entered and shows it; false (with a message naming the file) when the
    // data file refuses it, leaving everything entered in place.
    bool SavePerson();
    // Deletes the person shown; false (with a message) when the data file refuses.
    bool DeletePerson();
    // Only while browsing: stepping would replace the name of a person being entered.
    void NextPerson() { StepPerson(+1); }
    void PreviousPerson() { StepPerson(-1); }
    void SetNotifyAdvance(bool on);
    void OnCheckChanged(int id, bool state);
    void RaiseAlarm(int month, int day, const std::string& name, const std::string& picture,
                    const std::string& exact = {});

    // What the name field may hold while the user types: it can still become a valid name.
    static bool IsEnterableName(std::string_view text);

    tDataFile m_DataFile;
    tCalendarEvents m_Events; // what the window and others listen to
    tMonthButton* m_MonthButtons[13] = {};
    tWeekdayHeader* m_WeekdayHeaders[8] = {};
    tDayCell* m_DayCells[43] = {};
    tLabel* m_DaysNumberLabel = nullptr;
    tLabel* m_DaysUnitLabel = nullptr;
    tLabel* m_DateLabel = nullptr;
    tColourEdit* m_NameEdit = nullptr;
    tLabel* m_PictureView = nullptr;
    tPersonStepButton* m_PreviousPersonButton = nullptr;
    tPersonStepButton* m_NextPersonButton = nullptr;
    tCheckButton* m_AlarmCheckBox = nullptr;
    int32_t m_Month = 0;
    int32_t m_SelectedDay = -1; // the selected day of m_Month, or -1
    int32_t m_FirstWeekday = 0; // weekday of the 1st (0 Sunday): the blank cells before it
    int32_t m_PeopleCount = 0;  // people on the selected day
    int32_t m_PersonIndex = -1; // the person shown, or -1
    std::string m_Name;         // the person shown or being saved
    std::string m_Exact;        // the shown person's name as the file holds it (UTF-8)
    int32_t m_DateMonth = -1;   // the date in the date label, or -1
    int32_t m_DateDay = -1;
    std::string m_Gender; // "m", "f", or empty for nobody
    int32_t m_PictureNumber = 0;
    int32_t m_MalePictures = -1; // counted once, at construction
    int32_t m_FemalePictures = -1;
    bool m_NotifyAdvance = false; // the alarm switch
    int32_t m_NotifyDays = 3;     // days of notice, 1-14

private:
    // Shows what failed and why, naming the data file.
    void StepPerson(int step);
    void ReportFileError(tMessage action, tFileFault fault) const;
    static std::string PicturePath(const std::string& gender, int number);
};
