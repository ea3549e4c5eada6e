#pragma once
// Dialling through the local modem (engine states ModemInit, Dialling and
// Connected) and hanging the modem up.
//
// Modem result lines are remote input of any length and content: they are
// judged without their CR/LF framing, and a line reported to the user or the
// log is cut to a readable length with its control characters shown as '?'.

#include "link/session_engine.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace tamble {

// "ATD " + number with a wireless link, otherwise "ATDT " + number.
QByteArray DialCommand(bool wireless, const QByteArray& phoneNumber);

// True when every byte of the number is printable ASCII: a control character
// (CR above all) would end the dial command early and the rest would reach the
// modem as a command of its own.
bool PhoneNumberDialable(const QByteArray& phoneNumber);

// A result line without its CR/LF framing and surrounding blanks.
QByteArray ModemLine(const QByteArray& rx);

// A modem line as it appears in a message: control characters as '?', at most
// 100 characters.
QString ModemLineText(const QByteArray& line);

// The status line while the local modem takes its init string: "Setup modem: " + init.
QString SetupModemText(const QString& init);

// A modem that did not answer as it should: "No response from modem, comm. aborted" when it said
// nothing, else "Modem response: " + what it said + "; comm. aborted".
QString ModemNoAnswerText(const QString& response);

// What a line in the Dialling state means.
enum class DialResult { Ignore, Echo, Connected, Busy, Other };
DialResult JudgeDialLine(const QByteArray& line, const QByteArray& dialCommand);

// The modem states of the engine. One object serves ModemInit, Dialling and
// Connected; install it with install().
class ModemDialler : public LinkStateHandler {
public:
    // `refreshPhoneNumber` is called before dialling unless the command line
    // gave the number itself (the phone list lives elsewhere); may be empty.
    explicit ModemDialler(std::function<void()> refreshPhoneNumber = {})
        : m_refresh(std::move(refreshPhoneNumber)) {}

    void install(SessionEngine& engine);

    // Set when command-line parameter 4 gave a number of more than 4 characters.
    void setPhoneNumberFromCommandLine(bool given) { m_numberGiven = given; }

    void onEnter(SessionEngine& engine) override;
    void onArrival(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;

    const QByteArray& dialCommand() const { return m_dial; }

private:
    void onInitLine(SessionEngine& engine);
    void onDialLine(SessionEngine& engine);

    std::function<void()> m_refresh;
    bool m_numberGiven = false;
    QByteArray m_dial;
};

// hangupModem: with a modem on line, pulse DTR on the open session port, then
// release the trigger, close the port and clear modemOnline; `done` runs after
// that (at once without a modem on line). Always clears retryCount.
void HangupModem(SessionHost& host, SessionState& state, std::function<void()> done = {});

} // namespace tamble
