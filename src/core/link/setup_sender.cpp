#include "link/setup_sender.h"
#include "link/link_timing.h"

#include "settings/command_line.h"
#include "settings/settings_record.h"

namespace tamble {

namespace {

unsigned char byteOf(char c) { return static_cast<unsigned char>(c); }

bool printableForWire(unsigned char b) { return b >= 0x20 && b <= 0x7E && b != '>'; }

char wireChar(char c) { return printableForWire(byteOf(c)) ? c : ' '; }

constexpr char kRateCodes[] = "456789:;CTVDEFGHIJUKLMNSOPQR";

bool anyChannelOn(const SetupFields& s)
{
    for (std::uint8_t on : s.channelOn)
        if (on != 0)
            return true;
    return false;
}

QByteArray scalingText(const SetupFields& s, int ch)
{
    const char code = s.scalingCodes[ch];
    if (code == '1')
        return WireText(s.tableNames[ch], 12);
    if (code == '3' || code == 'X')
        return WireText(s.linearValues[ch], 12);
    return WireText(QByteArray(1, code), 12);
}

} // namespace

std::uint8_t CommandModeByte(std::uint8_t startRunMode)
{
    std::uint8_t mode = 0x40;
    switch (startRunMode / 8) {
    case 1: mode = 0x46; break;
    case 2: mode = 0x50; break;
    default: break;
    }
    switch (startRunMode % 8) {
    case 1: mode |= 0x01; break;
    case 2: mode |= 0x21; break;
    default: break;
    }
    return mode;
}

std::uint8_t SentModeByte(const SetupFields& setup, bool presetStartPassed)
{
    std::uint8_t mode = CommandModeByte(setup.startRunMode);
    if (presetStartPassed)
        mode &= static_cast<std::uint8_t>(~0x06);
    if (!anyChannelOn(setup))
        mode |= 0x02;
    return mode;
}

std::uint8_t ChannelByte(const SetupFields& setup, std::uint8_t modeByte)
{
    std::uint8_t b = 0x40;
    for (int ch = 0; ch < 4; ++ch)
        if (setup.channelOn[ch] != 0)
            b |= static_cast<std::uint8_t>(1 << ch);
    if (modeByte & 0x20)
        b |= 0x20;
    return b;
}

std::uint16_t InputTypesForSending(const SetupFields& setup)
{
    std::uint16_t word = setup.inputTypes;
    for (int ch = 0; ch < 4; ++ch)
        if (setup.channelOn[ch] == 0)
            word &= static_cast<std::uint16_t>(~(7u << (3 * ch)));
    return word;
}

QByteArray WireText(const QByteArray& text, int width)
{
    QByteArray out = text.left(width);
    for (char& c : out)
        c = wireChar(c);
    while (out.size() < width)
        out.append(' ');
    return out;
}

char SetupPrefix(const SetupTarget& target)
{
    if (target.scalingOnly)
        return 'K';
    if (target.oldLogger || byteOf(target.revision) < 'I')
        return '1';
    return '0';
}

bool IsKnownRateCode(char code)
{
    for (const char* p = kRateCodes; *p; ++p)
        if (*p == code)
            return true;
    return false;
}

std::optional<QString> SetupRefusal(const SetupFields& setup, const SetupTarget& target)
{
    const unsigned char rate = byteOf(setup.rateCode);
    const unsigned char rev = byteOf(target.revision);
    const bool unsupported = !IsKnownRateCode(setup.rateCode) || (rate <= 'C' && rev < 'F')
                             || (rate < 'C' && rev < 'H') || (rate == 'S' && rev < 'H')
                             || ((rate == 'T' || rate == 'U' || rate == 'V') && rev < 'L');
    if (unsupported)
        return QStringLiteral("Logger does not support selected sample rate");
    if (target.oldLogger) {
        for (char code : setup.scalingCodes)
            if (code == '3' || code == 'X')
                return QStringLiteral(
                    "Scaling values are not supported in this Tamble Logger\rSelect a linear table for "
                    "Channel Scaling. (Table must\ra single numeric character name.  Example: "
                    "3.rvt).\rA firmware upgrade is available -\rContact factory for details.");
    }
    return std::nullopt;
}

std::vector<QByteArray> BuildSetupParts(const SetupFields& setup, const SetupTarget& target,
                                        const CivilMoment& now)
{
    const bool passed = PresetStartPassed(setup.startChoice(), setup.schedule, now);
    const std::uint8_t mode = SentModeByte(setup, passed);

    QByteArray p1;
    p1.append(SetupPrefix(target));
    p1.append(ClockField(now));
    p1.append(StartField(setup.schedule, now.dayNumber));
    p1.append(wireChar(setup.rateCode));
    p1.append(static_cast<char>(ChannelByte(setup, mode)));
    p1.append(static_cast<char>(mode));
    p1.append(WireText(setup.description, 31));
    for (int ch = 0; ch < 4; ++ch) {
        char code = setup.scalingCodes[ch];
        if (target.oldLogger && code == '1')
            code = setup.tableNames[ch].isEmpty() ? '1' : setup.tableNames[ch].at(0);
        p1.append(wireChar(code));
    }

    QByteArray p2("2");
    p2.append(WireText(setup.labels[0], 24));
    p2.append(WireText(setup.labels[1], 24));
    QByteArray p3("3");
    p3.append(WireText(setup.labels[2], 24));
    p3.append(WireText(setup.labels[3], 24));

    std::vector<QByteArray> parts{p1, p2, p3};
    if (target.oldLogger)
        return parts;

    QByteArray p4("4");
    for (int ch = 0; ch < 4; ++ch)
        p4.append(scalingText(setup, ch));
    p4.append(' ');
    const std::uint16_t types = InputTypesForSending(setup);
    p4.append(static_cast<char>((types & 63) + 64));
    p4.append(static_cast<char>(((types >> 6) & 63) + 64));
    switch (setup.resolution) {
    case 1: p4.append(" C"); break;
    case 2: p4.append(" B"); break;
    case 3: p4.append(" A"); break;
    default: break;
    }
    parts.push_back(p4);
    return parts;
}

SetupCheckPlan PlanSetupChecks(const SetupFields& setup, bool scalingOnly, bool unattended,
                               bool presetStartPassed)
{
    SetupCheckPlan plan;
    if (scalingOnly)
        return plan;
    const bool fast = byteOf(setup.rateCode) < 'C';
    const std::uint8_t mode = CommandModeByte(setup.startRunMode);
    if (fast && (mode & 0x01) && !(mode & 0x20)) {
        plan.refusal = QStringLiteral(
            "Improper setup; Cannot select 'Run continuously' if sample rate is less than 2 seconds.");
        return plan;
    }
    if (fast && setup.startChoice() == 3) {
        plan.refusal = QStringLiteral("Improper setup; Cannot select 'immediate, with ... dialout' if "
                                      "sample rate is less than 2 seconds.");
        return plan;
    }
    if (unattended)
        return plan;
    if (fast)
        plan.confirmations.push_back(QStringLiteral(
            "Fast Sampling selected (sample rate 1/sec or faster),Tamble Logger will not respond to "
            "additional communications until logging has stopped."));
    plan.confirmations.push_back(QStringLiteral("Tamble Logger's data is about to be erased, and")
                                 + QStringLiteral(" its clock set to the date/time of this computer."));
    if (fast && (mode & 0x30)) {
        plan.confirmations.push_back(QStringLiteral(
            "You have selected Fast Sampling AND 'Start when... attached' OR 'Run until...detached'.  "
            "BATTERY CAN COMPLETELY DISCHARGE in a few days if this mode is constantly active."));
        return plan;
    }
    if (presetStartPassed)
        plan.confirmations.push_back(
            QStringLiteral("Pre-set start time has passed;  Recording will start immediately"));
    return plan;
}

void BeginSetupCounting(SessionState& state, int parts)
{
    state.setupParts = parts;
    state.setupPart = 1;
    state.setupRetries = 0;
    state.setupFailures = 0;
    state.setupAcks.clear();
    state.setupSending = true;
}

SetupStep OnSetupLine(SessionState& state, const QByteArray& line)
{
    if (state.setupFailures > 8)
        return SetupStep::FailedRejected;
    if (line.contains('O') || line.contains('K')) {
        ++state.setupPart;
        if (line != "OK") {
            // The answer goes into a log line: control characters would split it.
            QByteArray shown = line;
            for (char& c : shown)
                if (byteOf(c) < 0x20 || byteOf(c) == 0x7F)
                    c = '?';
            state.setupAcks += shown + ',';
        }
    } else {
        ++state.setupFailures;
        state.setupPart = 1;
    }
    if (state.setupPart > state.setupParts)
        return SetupStep::Success;
    return SetupStep::SendPart;
}

SetupStep OnSetupTimeout(SessionState& state)
{
    ++state.setupRetries;
    if (state.setupRetries > retries::kSetupPart)
        return SetupStep::FailedNoResponse;
    state.setupPart = 1;
    return SetupStep::SendPart;
}

QString StationText(bool network, int stationAddress)
{
    return network ? QStringLiteral(" station # ") + QString::number(stationAddress) : QString();
}

QString SetupSuccessText(bool scalingOnly, const QString& stationText, const QString& setupFile)
{
    if (scalingOnly)
        return QStringLiteral("Tamble Logger") + stationText
               + QStringLiteral(" running with new scaling and/or labels.");
    return QStringLiteral("Tamble Logger") + stationText + QStringLiteral(" running new configuration: ")
           + setupFile;
}

QString ScalingOnlyFailureText(char revision, bool* warning)
{
    const bool old = byteOf(revision) <= 'T';
    if (warning)
        *warning = !old;
    if (old)
        return QStringLiteral("Sending new scaling and/or labels is not supported by this logger.  A "
                              "firmware upgrade is available; contact factory for details.");
    return QStringLiteral("Unable to send new scaling and/or labels");
}

QString SetupCountsText(const SessionState& state)
{
    return QStringLiteral(" ") + QString::fromLatin1(state.setupAcks) + QStringLiteral(" ")
           + QString::number(state.setupFailures) + QStringLiteral(",") + QString::number(state.setupRetries);
}

} // namespace tamble

// ---------------------------------------------------------------- records and engine

namespace tamble {

SetupFields FieldsOf(const SetupRecord& setup)
{
    SetupFields f;
    f.rateCode = setup.rateCode();
    f.startRunMode = setup.startRunMode();
    f.description = setup.description();
    for (int ch = 1; ch <= 4; ++ch) {
        f.channelOn[ch - 1] = setup.channelOn(ch) ? 1 : 0;
        f.labels[ch - 1] = setup.channelLabel(ch);
        f.scalingCodes[ch - 1] = setup.scalingCode(ch);
        f.tableNames[ch - 1] = setup.tableName(ch);
        f.linearValues[ch - 1] = setup.linearValues(ch);
    }
    f.inputTypes = setup.inputTypes();
    f.schedule = ScheduleOf(setup);
    f.resolution = setup.resolution();
    return f;
}

CivilMoment CivilMomentOf(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return MomentOf(DayNumberOf(d.year(), d.month(), d.day()),
                    t.hour() * 3600 + t.minute() * 60 + t.second());
}

void PrepareSetupForSending(SetupRecord& setup)
{
    if (setup.startChoice() != 3)
        setup.setDialOutKind(0);
    setup.setDescription(PadWithSpaces(setup.description(), kDescriptionWidth));
    for (int ch = 1; ch <= 4; ++ch)
        setup.setChannelLabel(ch, PadWithSpaces(setup.channelLabel(ch), kChannelLabelWidth));
}

namespace {

bool unattendedRun(SessionEngine& engine)
{
    return engine.mode().unattended() || engine.state().autoAnswerCount > 0;
}

// Ends the session and tells the outcome. An unattended run ends the program
// with the log line, which also hangs a modem up and closes the port; ending
// the session first would leave a moment in which the run looks finished
// without a result.
void finishWith(SessionEngine& engine, const Outcome& outcome)
{
    if (!engine.mode().unattended())
        engine.EndSession();
    engine.ReportOutcome(outcome);
}

} // namespace

void CheckAndSendSetup(SessionEngine& engine, const SetupRecord& setup)
{
    SessionState& st = engine.state();
    const SetupFields fields = FieldsOf(setup);
    const bool passed =
        PresetStartPassed(fields.startChoice(), fields.schedule, CivilMomentOf(engine.host().currentDateTime()));
    const SetupCheckPlan plan = PlanSetupChecks(fields, st.scalingOnly, unattendedRun(engine), passed);
    if (plan.refusal) {
        finishWith(engine, {*plan.refusal, DialogKind::Warning, DialogButtons::Ok, 0});
        return;
    }
    // Every one of these leads to the logger's memory being erased: Cancel is the default.
    for (const QString& question : plan.confirmations) {
        const DialogAnswer a =
            engine.host().showMessage({question, DialogKind::Warning, DialogButtons::OkCancel, 0, true});
        if (a != DialogAnswer::Ok) {
            engine.EndSession();
            return;
        }
    }
    engine.StartSession();
}

void SetupSender::dispatch(SessionEngine& engine)
{
    SessionState& st = engine.state();
    SetupTarget target;
    target.revision = st.revision;
    target.oldLogger = st.oldLogger;
    target.scalingOnly = st.scalingOnly;

    // Channels that are off carry no input type, in the record as well.
    for (int ch = 1; ch <= 4; ++ch)
        if (!m_setup.channelOn(ch))
            m_setup.setInputType(ch, 0);
    const SetupFields fields = FieldsOf(m_setup);

    if (const auto refusal = SetupRefusal(fields, target)) {
        const bool scaling = !refusal->startsWith(QLatin1String("Logger does not"));
        finishWith(engine, {*refusal, scaling ? DialogKind::Warning : DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    m_parts = BuildSetupParts(fields, target, CivilMomentOf(engine.host().currentDateTime()));
    BeginSetupCounting(st, static_cast<int>(m_parts.size()));
    sendPartAfter(engine, ticks::kSetupFirstPart);
}

void SetupSender::sendPartAfter(SessionEngine& engine, int ticks)
{
    engine.wait(ticks, [this, &engine] {
        if (!engine.finished() && engine.state().transaction == TransactionKind::SendSetup)
            sendPart(engine);
    });
}

void SetupSender::sendPart(SessionEngine& engine)
{
    const int index = engine.state().setupPart - 1;
    if (index < 0 || index >= static_cast<int>(m_parts.size()))
        return;
    engine.sendFramed(m_parts[static_cast<size_t>(index)]);
}

void SetupSender::onLine(SessionEngine& engine)
{
    SessionState& st = engine.state();
    switch (OnSetupLine(st, st.rxBuffer)) {
    case SetupStep::SendPart:
        sendPartAfter(engine, ticks::kSetupNextPart);
        return;
    case SetupStep::Success: succeed(engine); return;
    case SetupStep::FailedRejected: fail(engine, false); return;
    case SetupStep::FailedNoResponse: fail(engine, true); return;
    }
}

void SetupSender::onTimeout(SessionEngine& engine)
{
    SessionState& st = engine.state();
    if (OnSetupTimeout(st) == SetupStep::FailedNoResponse) {
        fail(engine, true);
        return;
    }
    sendPartAfter(engine, ticks::kSetupPartAgain);
}

void SetupSender::succeed(SessionEngine& engine)
{
    SessionState& st = engine.state();
    const SettingsRecord& set = engine.settings();
    const QString station = StationText(set.network, set.stationAddress);
    if (st.scalingOnly) {
        engine.EndSession();
        engine.ReportOutcome({SetupSuccessText(true, station, QString()), DialogKind::Information, DialogButtons::Ok,
                              0});
        return;
    }
    if (st.autoAnswerCount > 0) {
        // ReportOutcome logs, drops the modem, ends the session and hangs the auto-answer modem up.
        engine.ReportOutcome({QStringLiteral("Sent ") + engine.dataFileName() + SetupCountsText(st),
                              DialogKind::Information, DialogButtons::Ok, 0});
        st.autoAnswerCount = 0;
        return;
    }
    if (engine.mode().sendSetup) {
        engine.FatalLogAndExit(QStringLiteral("Running new configuration: ") + set.lastSetupFile, 0);
        return;
    }
    engine.EndSession();
    const QString source = m_sourceName.isEmpty() ? set.lastSetupFile : m_sourceName;
    engine.ReportOutcome({SetupSuccessText(false, station, source), DialogKind::Information,
                          DialogButtons::Ok, 0});
}

void SetupSender::fail(SessionEngine& engine, bool noResponse)
{
    SessionState& st = engine.state();
    if (st.scalingOnly && !noResponse) {
        bool warning = false;
        const QString text = ScalingOnlyFailureText(st.revision, &warning);
        engine.EndSession();
        engine.ReportOutcome({text, warning ? DialogKind::Warning : DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    const QString text = noResponse ? QStringLiteral("Unable to send Setup to logger (no response)")
                                    : QStringLiteral("Unable to send Setup (comm errors)");
    if (st.autoAnswerCount > 0) {
        engine.ReportOutcome({text + SetupCountsText(st), DialogKind::Error, DialogButtons::Ok, 0});
        st.autoAnswerCount = 0;
        return;
    }
    finishWith(engine, {text, noResponse ? DialogKind::Error : DialogKind::Warning, DialogButtons::Ok, 0});
}

} // namespace tamble
