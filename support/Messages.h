// The program's own messages: each is a text of the language file with an English fallback,
// for language files from before the message existed.  "%s" stands for what the message
// names (a file, a person, a date), in the order the caller gives them.
#pragma once

#include "platform/FileFault.h"

#include <initializer_list>
#include <string>

enum class tMessage {
    SaveFailed,
    DeleteFailed,
    SettingsFailed,
    FileUnreadable,
    FileNotRegular,
    FileReadOnly,
    FolderMissing,
    FileOwner,
    WriteFailed,
    FileBusy,
    NameNotStorable,
    NameRefused,
    NameTooLong,
    DayFull,
    ReplacePerson,
    DeletePerson,
    ReplaceButton,
    CancelButton,
    DeleteButton,
    PictureMissing,
    NoHelpProgram,
    OkAction,
    ImportMenu,
    ExportMenu,
    FindMenu,
    ImportTitle,
    ImportButton,
    ColumnName,
    ColumnDate,
    ColumnGender,
    ColumnResult,
    GenderChoose,
    GenderMale,
    GenderFemale,
    WillAdd,
    Added,
    SkipNoBirthday,
    SkipBirthdayText,
    SkipNoName,
    SkipNoAnsiForm,
    SkipNotStorable,
    SkipAlreadyThere,
    SkipDayFull,
    SkipNoGender,
    SkipNotWritten,
    ImportSummary,
    ImportPlan,
    NoCards,
    ContactFiles,
    CalendarFiles,
    BirthdaySummary,
    ExportDone,
    ExportFailed,
    Today,
    Tomorrow,
    InDays,
    FindHint,
    NotFound,
    Sunday,
    Monday,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday,
    MoreDays,
    FewerDays,
    DeleteShown,
    PreviousPicture,
    NextPicture,
    PreviousPerson,
    NextPerson,
    BirthdaysOnDay,
    OneBirthday,
    PictureOf,
    LaterAction,
    RemindAt,
    HelpTitle,
    ExportIntoDataFolder,
    ExportThroughLink,
    ExportOtherOwner,
    ContactFileTooBig,
    ContactFileUnreadable,
    GenderForAll,
    ImportReading,
    Count
};

// The message's key in the language file, and its English text.
const char* MessageKey(tMessage message);
const char* MessageFallback(tMessage message);

// The text in the current language with each "%s" replaced by the next of values.
std::string MessageText(tMessage message, std::initializer_list<std::string> values = {});

// The message that explains a file fault (the file goes in its "%s").
tMessage MessageForFault(tFileFault fault);
