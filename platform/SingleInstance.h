#pragma once

// True when no other instance of the program works on the data folder below the current
// directory; the claim lasts until the process ends.  It stands in for looking for a
// top-level window with that title.  The lock lives in the data folder itself, so that two
// instances never share one, and no other user can take it.
bool ClaimSingleInstance(const char* name);
