#pragma once
// Sending a setup (or only scaling and labels) to a logger: the checks and
// confirmations before the session, the three or four command parts built from
// the setup, and the counting of acknowledgements and time-outs.
//
// The builders are pure functions over SetupFields; SetupSender plugs them into
// the session engine as the SendSetup transaction.

#include "link/session_engine.h"
#include "setup/setup_record.h"
#include "setup/start_field.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tamble {

// The fields of a setup that travel to the logger. Texts are the raw bytes of
// the record's text fields (the length their length byte gives, at most the field width).
struct SetupFields {
    char rateCode = 'D';
    std::uint8_t startRunMode = 0;
    std::array<std::uint8_t, 4> channelOn{1, 1, 1, 1};
    QByteArray description;                 // up to 31
    std::array<QByteArray, 4> labels;       // up to 24 each
    std::array<char, 4> scalingCodes{'C', 'C', 'C', 'C'};
    std::uint16_t inputTypes = 0;
    std::array<QByteArray, 4> tableNames;   // up to 8 each
    std::array<QByteArray, 4> linearValues; // 12 each
    StartSchedule schedule;
    std::uint8_t resolution = 0;            // 1 = 12 bit, 2 = 10 bit, 3 = 8 bit

    int startChoice() const { return startRunMode / 8; }
    int runChoice() const { return startRunMode % 8; }
};

// Who the setup goes to and how.
struct SetupTarget {
    char revision = 'q';
    bool oldLogger = false;
    bool scalingOnly = false;
};

// Mode byte of the setup command, from StartRunMode only.
std::uint8_t CommandModeByte(std::uint8_t startRunMode);

// The mode byte as sent: pre-set start passed clears bits 1 and 2 (start at
// once); no channel on sets bit 1 (the logger does not record).
std::uint8_t SentModeByte(const SetupFields& setup, bool presetStartPassed);

// 0x40 + 1, 2, 4, 8 for channels 1-4 on, + 0x20 when bit 5 of the mode byte is set.
std::uint8_t ChannelByte(const SetupFields& setup, std::uint8_t modeByte);

// The InputTypes word with the bits of every channel that is off cleared.
std::uint16_t InputTypesForSending(const SetupFields& setup);

// A text field as it goes on the wire: at most `width` bytes, padded with
// blanks. Bytes the logger could take for framing (control characters, bytes
// above 0x7E and the command start '>') are sent as blanks.
QByteArray WireText(const QByteArray& text, int width);

// Prefix of part 1: "K" (scaling only), "1" (below 'I' or oldest family), "0".
char SetupPrefix(const SetupTarget& target);

// True when `code` is one of the 28 sample-rate codes.
bool IsKnownRateCode(char code);

// Why the logger cannot take this setup; nullopt when it can.
std::optional<QString> SetupRefusal(const SetupFields& setup, const SetupTarget& target);

// The command parts (bodies without station address and checksum): parts 1-3
// for the oldest family, 1-4 for all others.
std::vector<QByteArray> BuildSetupParts(const SetupFields& setup, const SetupTarget& target,
                                        const CivilMoment& now);

// --- the checks and confirmations before a setup session ---

// Result of CheckAndSendSetup's checks: a refusal, or the confirmations to ask
// (OK/Cancel warnings, in order) before the session starts.
struct SetupCheckPlan {
    std::optional<QString> refusal;
    std::vector<QString> confirmations;
};

// `unattended` is true for command-line and auto-answer runs, which ask nothing.
SetupCheckPlan PlanSetupChecks(const SetupFields& setup, bool scalingOnly, bool unattended,
                               bool presetStartPassed);

// --- acknowledgement and time-out counting ---

enum class SetupStep {
    SendPart,        // send `part` (after the 4-tick or 2-tick wait)
    Success,
    FailedRejected,  // too many rejected answers
    FailedNoResponse // too many time-outs
};

// Starts the counting: part 1 of `parts`, no failures, retries or acks.
void BeginSetupCounting(SessionState& state, int parts);
// A line arrived while a part was awaiting its answer (setupPart, setupParts,
// setupFailures, setupAcks of `state`).
SetupStep OnSetupLine(SessionState& state, const QByteArray& line);
// No answer in time (setupRetries).
SetupStep OnSetupTimeout(SessionState& state);

// --- outcome texts ---

// " station # " + address on a network, otherwise empty.
QString StationText(bool network, int stationAddress);
QString SetupSuccessText(bool scalingOnly, const QString& stationText, const QString& setupFile);
// The text of a rejected-answers failure and whether it is a warning (else information).
QString ScalingOnlyFailureText(char revision, bool* warning);
// " " + acks + " " + failures + "," + retries, the tail of the auto-answer log lines.
QString SetupCountsText(const SessionState& state);

// --- the records behind the builders ---

SetupFields FieldsOf(const SetupRecord& setup);
CivilMoment CivilMomentOf(const QDateTime& moment);

// What building the record from the setup window does to a setup that is sent
// without the window (command line, a logger that called in): DialOutKind is
// cleared unless the start choice is 3, the description and labels are padded
// with blanks to their widths.
void PrepareSetupForSending(SetupRecord& setup);

// --- the SendSetup transaction ---

// CheckAndSendSetup: the transaction is already SendSetup (and scalingOnly set
// or cleared). Refuses, asks the confirmations (none in unattended and
// auto-answer runs) and starts the session; a refusal or a Cancel ends the
// session and nothing is sent.
void CheckAndSendSetup(SessionEngine& engine, const SetupRecord& setup);

// BuildAndSendSetup and the answer counting, plugged into the engine for
// TransactionKind::SendSetup. Sending clears the input types of channels that
// are off in the setup record itself.
class SetupSender : public TransactionHandler {
public:
    explicit SetupSender(SetupRecord& setup) : m_setup(setup) {}
    void dispatch(SessionEngine& engine) override;
    void onLine(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;
    // Where the setup being sent came from ("LAST STATUS", a file), as the success message names it;
    // empty: the settings' last setup file.
    void setSourceName(const QString& name) { m_sourceName = name; }

private:
    void sendPart(SessionEngine& engine);
    // Sends the current part after `ticks`, unless the sending has ended meanwhile.
    void sendPartAfter(SessionEngine& engine, int ticks);
    void succeed(SessionEngine& engine);
    void fail(SessionEngine& engine, bool noResponse);

    SetupRecord& m_setup;
    std::vector<QByteArray> m_parts;
    QString m_sourceName;
};

} // namespace tamble
