#include "data/tCalendar.h"

#include "alarm/tAlarmFrame.h"
#include "app/MainFrameAccess.h"
#include "controls/tAccessibleControl.h"
#include "controls/tCheckButton.h"
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tLabel.h"
#include "controls/tMonthButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tWeekdayHeader.h"
#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"
#include "platform/Gdi.h"
#include "platform/MessageBox.h"
#include "platform/tWorkStep.h"
#include "support/Messages.h"
#include "support/tLanguageString.h"

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

const char* const kMonthNames[] = {"",        "january",  "february", "march",  "april",
                                   "may",     "june",     "july",     "august", "september",
                                   "october", "november", "december"};
const char* const kMonthShortNames[] = {"",    "jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kWeekdayShortNames[] = {"", "sun", "mon", "tue", "wed", "thu", "fri", "sat"};

// The first up to three characters after the gender letter, read as a signed decimal.
int PictureNumberOf(const std::string& picture) {
    const std::string digits = picture.size() > 1 ? picture.substr(1, 3) : "";
    return static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));
}

bool CanOpen(const std::string& path) {
    if (FILE* file = std::fopen(NativePath(path).c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

} // namespace

tCalendar::tCalendar() {
    m_MalePictures = CountPictures("m");
    m_FemalePictures = CountPictures("f");
}

const char* tCalendar::GetMonthName(int month) {
    return kMonthNames[month];
}
const char* tCalendar::GetMonthShortName(int month) {
    return kMonthShortNames[month];
}
const char* tCalendar::GetWeekdayShortName(int day) {
    return kWeekdayShortNames[day];
}
int tCalendar::GetMonthLength(int month) {
    return tDataFile::MonthLength(month);
}

std::string tCalendar::PicturePath(const std::string& gender, int number) {
    char path[64];
    std::snprintf(path, sizeof path, "Cal_Data\\Images\\%s%03d.bmp", gender.c_str(), number);
    return path;
}

void tCalendar::SelectMonth(int month) {
    CancelEntry();
    m_Month = month;
    for (int i = 1; i <= 12; ++i)
        if (m_MonthButtons[i])
            m_MonthButtons[i]->SetMonthLook(i == month ? 0 : 1);
    FillMonth(month);
    SelectDay(-1);
}

void tCalendar::FillMonth(int month) {
    const tWorkStep step;
    const CTime now = CTime::GetCurrentTime();
    const CTime first(now.GetYear(), month, 1, 10, 0, 0);
    m_FirstWeekday = first.GetDayOfWeek() - 1;
    MarkWeekday(month == now.GetMonth() ? now.GetDayOfWeek() : -1);
    const int length = GetMonthLength(month);
    for (int cell = 1; cell <= 42; ++cell) {
        const int day = cell - m_FirstWeekday;
        tDayCell* control = m_DayCells[cell];
        if (day < 1 || day > length) {
            if (control) {
                control->SetAllTexts("  ", true);
                control->SetCellKind(tDayCell::kEmpty);
            }
            continue;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%02d", day);
        const bool today = month == now.GetMonth() && day == now.GetDay();
        const int count = CountPeople(month, day);
        const bool people = count > 0;
        if (control) {
            control->SetAllTexts(text, true);
            // Read out as "14 June, today, 2 birthdays".
            std::string name = SpokenDateText(month, day);
            if (today)
                name.append(", ").append(MessageText(tMessage::Today));
            if (people)
                name.append(", ").append(
                    count == 1 ? MessageText(tMessage::OneBirthday)
                               : MessageText(tMessage::BirthdaysOnDay, {std::to_string(count)}));
            control->setAccessibleName(ToQString(name));
            control->SetCellKind(today ? (people ? tDayCell::kTodayBirthday : tDayCell::kToday)
                                       : (people ? tDayCell::kBirthday : tDayCell::kDay));
        }
    }
    UpdateTabStops();
}

void tCalendar::MarkWeekday(int weekday) {
    for (int i = 1; i <= 7; ++i)
        if (m_WeekdayHeaders[i])
            m_WeekdayHeaders[i]->SetHeaderLook(i == weekday ? 0 : 1);
}

int tCalendar::CountPeople(int month, int day) const {
    return m_DataFile.CountEntries(month, day);
}

void tCalendar::UpdateTabStops() {
    for (int month = 1; month <= 12; ++month)
        if (m_MonthButtons[month])
            m_MonthButtons[month]->setFocusPolicy(month == m_Month ? Qt::StrongFocus
                                                                   : Qt::ClickFocus);
    const CTime now = CTime::GetCurrentTime();
    const int stop = m_SelectedDay >= 1          ? m_SelectedDay
                     : m_Month == now.GetMonth() ? now.GetDay()
                                                 : 1;
    for (int cell = 1; cell <= 42; ++cell)
        if (tDayCell* control = m_DayCells[cell]; control && control->m_Kind != tDayCell::kEmpty)
            control->setFocusPolicy(cell == stop + m_FirstWeekday ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
}

void tCalendar::SelectDay(int day) {
    m_SelectedDay = day;
    for (int cell = 1; cell <= 42; ++cell)
        if (m_DayCells[cell])
            m_DayCells[cell]->SetSelected(day != -1 && cell == day + m_FirstWeekday);
    UpdateTabStops();
    m_PeopleCount = 0;
    if (day == -1) {
        ShowPerson(-1);
        return;
    }
    m_PeopleCount = CountPeople(m_Month, day);
    ShowPerson(m_PeopleCount != 0 ? 0 : -1);
}

void tCalendar::ShowPerson(int index) {
    if (index >= m_PeopleCount)
        index = 0;
    else if (index < 0)
        index = m_PeopleCount - 1;
    m_PersonIndex = index;
    const bool several = m_PeopleCount > 1;
    if (m_PreviousPersonButton)
        m_PreviousPersonButton->setEnabled(index != -1 && several);
    if (m_NextPersonButton)
        m_NextPersonButton->setEnabled(index != -1 && several);
    if (index == -1) {
        SetGender("");
        SetName("");
        SetDate(-1, -1);
        if (m_PictureView)
            m_PictureView->setAccessibleName(QString());
        return;
    }
    const tDataFile::tEntry entry =
        m_DataFile.EntryAt(m_Month, m_SelectedDay, index).value_or(tDataFile::tEntry{});
    const std::string& picture = entry.m_Picture;
    SetName(entry.m_Name, entry.m_Exact);
    if (m_PictureView)
        m_PictureView->setAccessibleName(
            ToQString(MessageText(tMessage::PictureOf, {entry.m_Name})));
    SetDate(m_Month, m_SelectedDay);
    // Gender and number first, then one picture: a missing one is reported once.
    m_Gender.assign(1, !picture.empty() && (picture[0] == 'm' || picture[0] == 'M') ? 'm' : 'f');
    SetPicture(PictureNumberOf(picture));
}

void tCalendar::ShowPersonAt(int month, int day, const std::string& exact) {
    if (month != m_Month)
        SelectMonth(month);
    else
        CancelEntry();
    SelectDay(day);
    const std::vector<tDataFile::tEntry> people = m_DataFile.ReadEntries(m_Month, day);
    for (size_t index = 0; index < people.size(); ++index)
        if (people[index].m_Exact == exact) {
            ShowPerson(static_cast<int>(index));
            return;
        }
}

void tCalendar::MoveSelection(int days) {
    if (m_Month < 1)
        return;
    CancelEntry();
    int month = m_Month;
    int day = (m_SelectedDay >= 1 ? m_SelectedDay : 1) + days;
    // Across the ends of months and of the year; February has its 29 days here as in the grid.
    while (day < 1) {
        month = month == 1 ? 12 : month - 1;
        day += GetMonthLength(month);
    }
    while (day > GetMonthLength(month)) {
        day -= GetMonthLength(month);
        month = month == 12 ? 1 : month + 1;
    }
    if (month != m_Month)
        SelectMonth(month);
    SelectDay(day);
    if (tDayCell* cell = m_DayCells[day + m_FirstWeekday])
        cell->setFocus(Qt::OtherFocusReason);
}

void tCalendar::OnDayClicked(int cell) {
    // A click on a day while entering a person leaves the entry, as a click on a month does.
    CancelEntry();
    if (m_DayCells[cell] && m_DayCells[cell]->m_Kind != tDayCell::kEmpty && GetMainFrame())
        SelectDay(cell - m_FirstWeekday);
}

void tCalendar::StepPerson(int step) {
    if (const tMainFrame* frame = GetMainFrame();
        !frame || MainFrame::Mode(*frame) == tEditModes::kModeBrowse)
        ShowPerson(m_PersonIndex + step);
}

void tCalendar::CancelEntry() {
    tMainFrame* frame = GetMainFrame();
    if (!frame || MainFrame::Mode(*frame) == tEditModes::kModeBrowse)
        return;
    MainFrame::SetMode(*frame, tEditModes::kModeBrowse);
    SelectDay(m_SelectedDay); // shows the day's people again, nothing written
}

void tCalendar::OnDayDoubleClicked(int cell) {
    tMainFrame* frame = GetMainFrame();
    if (!m_DayCells[cell] || m_DayCells[cell]->m_Kind == tDayCell::kEmpty || !frame ||
        MainFrame::Mode(*frame) != tEditModes::kModeBrowse)
        return;
    // The day itself was selected by the click that began the double click.
    SetDate(m_Month, cell - m_FirstWeekday);
    SetGender("");
    SetName("");
    MainFrame::SetMode(*frame, tEditModes::kModeGender);
    // Stepping through the day's people would replace the name being typed.
    for (tPersonStepButton* button : {m_PreviousPersonButton, m_NextPersonButton})
        if (button)
            button->setEnabled(false);
    FocusName();
}

void tCalendar::SetNotifyDays(int days) {
    days = std::clamp(days, 1, 14);
    if (days == m_NotifyDays)
        return;
    m_NotifyDays = days;
    if (m_DaysNumberLabel) {
        m_DaysNumberLabel->SetText(std::to_string(days).c_str());
        m_DaysNumberLabel->update();
    }
    if (m_DaysUnitLabel) {
        m_DaysUnitLabel->SetText(g_LanguageString.GetString(days == 1 ? "day" : "days"));
        m_DaysUnitLabel->update();
    }
    Q_EMIT m_Events.NoticeDaysChanged(days);
}

void tCalendar::SetName(const std::string& name, const std::string& exact) {
    m_Name = name;
    m_Exact = exact.empty() ? CodePage::Utf8FromAnsi(name) : exact;
    if (m_NameEdit) {
        // Shown as stored: "Zo\u0119" is not "Zo?", though the code page knows no "\u0119".
        const QString shown = QString::fromStdString(m_Exact);
        m_NameEdit->setText(shown);
        // A long name shows its beginning; the whole of it is in the tip.
        m_NameEdit->setCursorPosition(0);
        m_NameEdit->setToolTip(shown);
    }
}

namespace {

std::string ComposeDate(const std::string& format, const std::string& month, int day) {
    const bool monthFirst = !format.empty() && (format[0] == 'M' || format[0] == 'm');
    return monthFirst ? month + " " + std::to_string(day) : std::to_string(day) + " " + month;
}

} // namespace

std::string tCalendar::DateText(int month, int day) {
    if (month < 1 || month > 12)
        return "?"; // never a month's name looked up past the table
    // The format is copied before the next lookup replaces it.
    const std::string format = g_LanguageString.GetString("date format");
    return ComposeDate(format, g_LanguageString.GetString(GetMonthName(month)), day);
}

std::string tCalendar::SpokenMonthName(int month) {
    if (month < 1 || month > 12)
        return "?";
    std::string english = GetMonthName(month);
    english[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(english[0])));
    return g_LanguageString.GetStringOr(GetMonthName(month), english.c_str());
}

std::string tCalendar::SpokenDateText(int month, int day) {
    if (month < 1 || month > 12)
        return "?";
    return ComposeDate(g_LanguageString.GetStringOr("date format", "MD"), SpokenMonthName(month),
                       day);
}

void tCalendar::SetDate(int month, int day) {
    m_DateMonth = month;
    m_DateDay = day;
    const std::string text = month != -1 && day != -1 ? DateText(month, day) : std::string();
    if (m_DateLabel) {
        m_DateLabel->SetText(text.c_str());
        m_DateLabel->update();
    }
}

void tCalendar::SetNameEditable(bool editable) {
    if (m_NameEdit)
        m_NameEdit->SetReadOnly(!editable);
}

int tCalendar::CountPictures(const std::string& gender) {
    if (gender == "m" && m_MalePictures != -1)
        return m_MalePictures;
    if (gender == "f" && m_FemalePictures != -1)
        return m_FemalePictures;
    return CountPictureFiles(gender);
}

int tCalendar::CountPictureFiles(const std::string& gender) {
    int count = 0;
    while (count < 1000 && CanOpen(PicturePath(gender, count)))
        ++count;
    return count;
}

void tCalendar::SetGender(const std::string& gender) {
    m_Gender = gender;
    SetPicture(m_PictureNumber);
}

void tCalendar::SetPicture(int number) {
    if (number < 0)
        number = CountPictures(m_Gender) - 1;
    if (number >= CountPictures(m_Gender))
        number = 0;
    m_PictureNumber = number;
    ShowPicture();
}

void tCalendar::ShowPicture() {
    if (!m_PictureView)
        return;
    LoadPersonPicture(*m_PictureView, m_Gender.empty() ? std::string(kDefaultPicture)
                                                       : PicturePath(m_Gender, m_PictureNumber));
    m_PictureView->update();
}

std::string tCalendar::LoadPersonPicture(tLabel& view, const std::string& path) {
    std::string shown = path;
    if (path != kDefaultPicture && !CanOpen(path)) {
        // Said once per picture; the default stands in, never the face shown before.
        static std::set<std::string> reported;
        if (reported.insert(path).second)
            AfxMessageBox(MessageText(tMessage::PictureMissing, {NativePath(path)}));
        shown = kDefaultPicture;
    }
    if (!view.LoadPicture(shown.c_str()))
        view.ClearPicture();
    return shown;
}

bool tCalendar::IsEnterableName(std::string_view text) {
    if (text.size() > tDataFile::kMaxNameLength)
        return false;
    if (!text.empty() && (text[0] == '[' || text[0] == ';' || text[0] == '#'))
        return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == '=' || c == 0x7F)
            return false;
    return true;
}

bool tCalendar::IsNameValid() {
    if (!m_NameEdit)
        return false;
    std::string text = m_NameEdit->GetWindowText();
    const size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    m_NameEdit->SetWindowText(text);
    return !text.empty() && text[0] != ' ' && tDataFile::IsStorableName(text);
}

void tCalendar::FocusName() {
    if (m_NameEdit)
        m_NameEdit->setFocus(Qt::OtherFocusReason);
}

void tCalendar::ReportFileError(tMessage action, tFileFault fault) const {
    AfxMessageBox(MessageText(action) + "\n" +
                  MessageText(MessageForFault(fault), {m_DataFile.GetFileName()}));
}

bool tCalendar::SavePerson() {
    if (m_NameEdit)
        m_Name = m_NameEdit->GetWindowText();
    if (m_SelectedDay < 1)
        return false; // no day to save on: entering was left with the day
    // The same name (without regard to case) on the same day is one person: ask first.
    for (const tDataFile::tEntry& person : m_DataFile.ReadEntries(m_Month, m_SelectedDay)) {
        if (CodePage::EqualNoCase(person.m_Name, m_Name) &&
            !AfxQuestion(MessageText(tMessage::ReplacePerson,
                                     {person.m_Name, DateText(m_Month, m_SelectedDay)}),
                         MessageText(tMessage::ReplaceButton), MessageText(tMessage::CancelButton)))
            return false;
    }
    char picture[32];
    std::snprintf(picture, sizeof picture, "%s%03d", m_Gender.c_str(), m_PictureNumber);
    if (!m_DataFile.WriteEntry(m_Month, m_SelectedDay, m_Name, picture)) {
        ReportFileError(tMessage::SaveFailed, m_DataFile.LastFault());
        return false;
    }
    FillMonth(m_Month);
    // Show the person just saved, with the day's people counted again.
    m_PeopleCount = CountPeople(m_Month, m_SelectedDay);
    const std::vector<tDataFile::tEntry> people = m_DataFile.ReadEntries(m_Month, m_SelectedDay);
    for (int index = 0; index < m_PeopleCount && index < std::ssize(people); ++index) {
        if (CodePage::EqualNoCase(people[static_cast<size_t>(index)].m_Name, m_Name)) {
            ShowPerson(index);
            Q_EMIT m_Events.PeopleChanged();
            return true;
        }
    }
    // Written past the end of the day's list of names, where nobody would ever see it.
    m_DataFile.DeleteEntry(m_Month, m_SelectedDay, m_Name);
    FillMonth(m_Month);
    m_PeopleCount = CountPeople(m_Month, m_SelectedDay);
    AfxMessageBox(MessageText(tMessage::DayFull));
    return false;
}

bool tCalendar::DeletePerson() {
    if (m_DateMonth == -1 || m_DateDay == -1 || m_Name.empty())
        return true; // nobody is shown: nothing to delete
    if (const tMainFrame* frame = GetMainFrame();
        frame && MainFrame::Mode(*frame) != tEditModes::kModeBrowse)
        return false;
    if (!AfxQuestion(
            MessageText(tMessage::DeletePerson, {m_Name, DateText(m_DateMonth, m_DateDay)}),
            MessageText(tMessage::DeleteButton), MessageText(tMessage::CancelButton)))
        return false;
    if (!m_DataFile.DeleteEntry({m_DateMonth, m_DateDay, m_Name, {}, m_Exact})) {
        ReportFileError(tMessage::DeleteFailed, m_DataFile.LastFault());
        return false;
    }
    const int month = m_DateMonth, day = m_DateDay;
    const std::string name = m_Name;
    m_PeopleCount = CountPeople(m_Month, m_SelectedDay);
    ShowPerson(m_DataFile.CountEntries(m_DateMonth, m_DateDay) != 0 ? 0 : -1);
    FillMonth(m_Month);
    Q_EMIT m_Events.PeopleChanged();
    Q_EMIT m_Events.PersonDeleted(month, day, QByteArray::fromStdString(name));
    return true;
}

void tCalendar::SetNotifyAdvance(bool on) {
    if (m_AlarmCheckBox && m_AlarmCheckBox->m_Checked != on) {
        m_AlarmCheckBox->m_Checked = on;
        m_AlarmCheckBox->update();
        QAccessible::State changed;
        changed.checked = true;
        tAccessibleControl::StateChanged(m_AlarmCheckBox, changed);
    }
    m_NotifyAdvance = on;
}

void tCalendar::OnCheckChanged(int id, bool state) {
    if (id == 1)
        m_NotifyAdvance = state;
}

void tCalendar::RaiseAlarm(int month, int day, const std::string& name, const std::string& picture,
                           const std::string& exact) {
    tMainFrame* frame = GetMainFrame();
    if (!frame)
        return;
    tAlarmFrame& alarm = MainFrame::AlarmFrame(*frame);
    alarm.m_Month = month;
    alarm.m_Day = day;
    alarm.m_Name = name;
    alarm.m_Exact = exact.empty() ? CodePage::Utf8FromAnsi(name) : exact;
    alarm.m_PicturePath = "Cal_Data\\Images\\" + picture + ".bmp";
    alarm.ShowAlarm();
}
