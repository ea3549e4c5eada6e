#pragma once
// The end of the program: the settings saved, and a modem that a session left on line hung up.

#include "program/app_records.h"
#include "link/session_host.h"

#include <functional>

namespace tamble {

// Closing the main window: the fast protocol is forced on for speeds only it
// supports, the settings file is written, and a modem still on line is hung
// up through `host` (the session window's port) when there is one. `done` runs
// when that is over: at once, or after the hang-up's waits (timers: the event
// loop must still run).
void CloseProgram(AppRecords& records, SessionHost* host = nullptr, std::function<void()> done = {});

} // namespace tamble
