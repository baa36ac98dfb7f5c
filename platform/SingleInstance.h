#pragma once

// True when no other instance of the program works on the data folder below the current
// directory; the claim lasts until the process ends.  It stands in for looking for a
// top-level window with that title.  The lock lives in the data folder itself, so that two
// instances never share one, and no other user can take it.
bool ClaimSingleInstance(const char* name);

#include <functional>

// The running instance listens for later starts on a socket in the user's runtime folder
// (none without XDG_RUNTIME_DIR); onLaterStart runs in the event loop for each.
void ListenForLaterStarts(std::function<void()> onLaterStart);
// A later start tells the running instance that the user asked for the program again.
void TellRunningInstance();
