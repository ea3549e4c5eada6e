#include "link/engine_status.h"
#include "link/link_timing.h"

#include "settings/command_line.h"
#include "settings/memory_geometry.h"
#include "settings/settings_record.h"
#include "link/download.h"
#include "link/realtime.h"
#include "link/receive_csv.h"
#include "util/file_write.h"

#include <QLocale>

namespace tamble {

QString TransferStampText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QLocale::LongFormat);
}

namespace {

class StatusTransaction final : public TransactionHandler {
public:
    void dispatch(SessionEngine& e) override
    {
        if (e.state().statusPending)
            e.sendLetterCommand((e.settings().wireless || e.settings().useModem) ? 'B' : 'C');
        else
            OnRecord(e);
    }

    void onLine(SessionEngine& e) override { OnRecord(e); }
    void onTimeout(SessionEngine&) override {}  // the engine's own time-out rules apply

    void onTransferLine(SessionEngine& e) override
    {
        SessionState& s = e.state();
        if (s.transaction != TransactionKind::RealTime)
            return;
        const QByteArray line = s.rxBuffer;
        if (IsRealTimeOkLine(line)) {
            s.retryCount = 0;
            s.realTimeFailed = 0;
            e.arm(146, true);
            e.clearReceive();
            return;
        }
        if (s.realTimeFailed == 1)
            e.host().setSessionWindowVisible(false);
        e.host().realTimeLine(line);
        if (e.finished() || s.transaction != TransactionKind::RealTime)
            return;
        if (RealTimePolled(s.revision)) {
            e.sendLetterCommand('Y');
        } else {
            // Loggers reading on their own get a time-out as well, so a silent one is noticed.
            e.clearReceive();
            e.arm(146);
        }
    }

    void onTransferTimeout(SessionEngine& e) override
    {
        SessionState& s = e.state();
        if (s.transaction != TransactionKind::RealTime)
            return;
        s.retryCount += 1;
        if (s.realTimeFailed == 0) {
            e.host().setSessionWindowVisible(false);
            e.StartSession();
            s.retryCount = 0;
            s.realTimeFailed = 1;
            return;
        }
        const DialogAnswer answer = e.host().showMessage(
            {QStringLiteral("Real Time Display: Comm Failure ") + QString::number(s.lastTimeout) + QLatin1Char(' ') +
                 QString::number(s.retryCount),
             DialogKind::Information, DialogButtons::OkRetryHelp, 29});
        if (answer == DialogAnswer::Retry) {
            e.host().setSessionWindowVisible(false);
            e.StartSession();
            s.retryCount = 0;
            return;
        }
        e.host().showMainWindow();
        e.host().closeStatusWindow();
        e.EndSession();
    }

private:
    static void OnRecord(SessionEngine& e)
    {
        SessionState& s = e.state();
        SettingsRecord& set = e.settings();
        const QByteArray record = s.rxBuffer;
        const StatusContext context =
            MakeStatusContext(set, TransferStampText(e.host().currentDateTime()), s.oldLogger);
        const StatusDecodeResult result = e.decodeStatus(record, context);
        if (result.outcome == StatusOutcome::Invalid) {
            s.retryCount += 1;
            if (s.retryCount <= retries::kStatusRecord) {
                e.wait(ticks::kStatusRetryPause, [&e] { e.DispatchTransaction(); });
                return;
            }
            const QString text = InvalidStatusMessage(record, s.commandBuffer);
            e.EndSession();
            e.ReportOutcome({text, DialogKind::Information, DialogButtons::Ok, 0});
            return;
        }
        if (result.revisionChanged)
            set.lastRevision = e.info().revision;
        if (result.outcome == StatusOutcome::TableError) {
            e.EndSession();
            if (!result.tableMessages.isEmpty())
                e.ReportOutcome({result.tableMessages.join(QLatin1Char('\r')), DialogKind::Error, DialogButtons::Ok,
                                 0});
            return;
        }

        if (s.autoAnswerCount > 0 && s.transaction != TransactionKind::ReceiveData) {
            const QString next = e.host().nextAutoAnswerFile();
            if (next.isEmpty()) {
                e.ReportOutcome({QStringLiteral("No data file name available"), DialogKind::Error, DialogButtons::Ok,
                                 0});
                return;
            }
            e.dataFileName() = next;
            s.transaction = TransactionKind::ReceiveData;
            e.host().resetStopwatch();
        }

        e.host().showStatus();
        const bool graphRunning = s.realTimeGraph;
        switch (s.transaction) {
        case TransactionKind::ReadStatus:
            if (e.unattendedReceiveCsv()) {
                const QString file = e.dataFileName();
                if (e.host().appendReceiveCsv(file))
                    e.FatalLogAndExit(ReceiveCsvDoneMessage(file), 0);
                else
                    e.FatalLogAndExit(UnableToWriteText(file), 1);
                return;
            }
            s.linkState = LinkState::DialOutQuery;
            e.sendFramed(QByteArrayLiteral("DA01D0"));
            break;
        case TransactionKind::RealTime: {
            const RealTimeStart start = StartRealTime(s.revision, set.useModem);
            if (!start.start) {
                e.EndSession();
                e.ReportOutcome({start.message, DialogKind::Information, DialogButtons::Ok, 0});
                return;
            }
            e.sendFramed(start.command);
            s.linkState = LinkState::Transfer;
            break;
        }
        case TransactionKind::ReceiveData:
            e.download().StartDownload();
            break;
        default:
            e.DispatchTransaction();
            break;
        }
        if (!graphRunning && !e.finished())
            e.host().showStatusWindow();
    }
};

} // namespace

std::unique_ptr<TransactionHandler> MakeStatusTransaction()
{
    return std::make_unique<StatusTransaction>();
}

} // namespace tamble
