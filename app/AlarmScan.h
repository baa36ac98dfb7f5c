// The daily alarm scan, one step per idle call: from the hour of the reminders on a new day it
// queues the birthdays from the day after the last scan up to today plus the days of notice,
// and raises them one at a time.
#pragma once

#include "data/tBirthday.h"

#include <memory>
#include <vector>

class tCalendar;
class tDataFile;

using tAlarmQueue = std::vector<std::unique_ptr<tBirthday>>;

// raised, when given, gets the record handed to the alarm window.
void RunAlarmScanStep(bool& alarmsArmed, tAlarmQueue& queue, tCalendar& calendar,
                      tBirthday* raised = nullptr);

// The user acknowledged the raised record.  The last alarm date is stored only when nothing is
// left waiting; until then the progress is, so that the ones waiting come back after an exit
// and the ones acknowledged do not.  Re-arms the scan.
void AcknowledgeAlarm(bool& alarmsArmed, const tAlarmQueue& queue, const tBirthday& raised,
                      tDataFile& data);
