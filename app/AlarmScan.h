// The daily alarm scan, one step per idle call: after 06:00 of a new day it queues the
// birthdays from the day after the last scan up to today plus the days of notice, and raises
// them one at a time.
#pragma once

#include "data/tBirthday.h"

#include <memory>
#include <vector>

class tCalendar;

using tAlarmQueue = std::vector<std::unique_ptr<tBirthday>>;

void RunAlarmScanStep(bool& alarmsArmed, tAlarmQueue& queue, tCalendar& calendar);
