#include "program/close_program.h"

#include "link/modem.h"

namespace tamble {

void CloseProgram(AppRecords& records, SessionHost* host, std::function<void()> done)
{
    if (records.settings.baud > 19200 && !records.settings.fastProtocol)
        records.settings.fastProtocol = true;
    SaveSettings(records.programDir, records.settings);
    // Only a line a session left on line is dropped; without one nothing waits.
    if (host && records.session.modemOnline) {
        HangupModem(*host, records.session, std::move(done));
        return;
    }
    if (done)
        done();
}

} // namespace tamble
