#pragma once

// True when no other instance of the program named runs for this user; the claim lasts until
// the process ends.  It stands in for looking for a top-level window with that title.
bool ClaimSingleInstance(const char* name);
