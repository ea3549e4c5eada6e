#pragma once
// The modem dialler of a run, put on the session engine. A number of more than 4 characters as
// parameter 4 of the command line is dialled as given; otherwise the number is looked up again
// before each call.

#include "program/app_records.h"
#include "link/modem.h"

#include <functional>

namespace tamble {

// Makes `dialler` the engine's modem states. `refreshPhoneNumber` looks the number up before a
// call; without it the number of the selected phone-list entry ("Phone.ini" in the program folder)
// is taken, and an entry that does not exist leaves the number as it is.
void InstallDialler(SessionEngine& engine, AppRecords& records, ModemDialler& dialler,
                    std::function<void()> refreshPhoneNumber = {});

} // namespace tamble
