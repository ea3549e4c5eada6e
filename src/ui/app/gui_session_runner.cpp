#include "ui/app/gui_session_runner.h"

#include "ui/app/main_window.h"
#include "ui/graph/graph_window.h"
#include "ui/link/session_window.h"
#include "ui/link/station_address_dialog.h"
#include "ui/link/status_window.h"
#include "ui/setup/setup_window.h"

#include "settings/port_diagnosis.h"
#include "link/download.h"
#include "link/download_progress.h"

#include <QApplication>
#include <QMenuBar>

namespace tamble {

GuiSessionRunner::GuiSessionRunner(AppRecords& records, MainWindow& main)
    : SessionRunner(records, &main), m_main(main),
      m_aa(*this, records, [this] { SaveSettings(m_main.m_records.programDir, m_main.m_records.settings); })
{
    m_aa.showText = [this](const QString& text, bool visible) { m_main.setAaText(text, visible); };
    messageHandler = [this](const Outcome& o) {
        UserMessage m{o.kind, o.message, o.buttons, o.helpContext};
        m.destructive = o.destructive;
        if (o.message == QLatin1String(kPortOpenFailedText))
            m.informative = PortOpenDiagnosis(qtPort().devicePath());
        return m_main.messages().ask(m);
    };
}

void GuiSessionRunner::setStatusText(const QString& text) { m_main.m_session->setStatusText(text); }
void GuiSessionRunner::setMeter(int percent) { m_main.m_session->setMeter(percent); }
void GuiSessionRunner::setMeterVisible(bool visible) { m_main.m_session->setMeterVisible(visible); }
void GuiSessionRunner::setBlockCountVisible(bool visible) { m_main.m_session->setBlockCountVisible(visible); }
void GuiSessionRunner::setFileText(const QString& text) { m_main.m_session->setFileText(text); }
void GuiSessionRunner::setAbortEnabled(bool enabled) { m_main.m_session->setAbortEnabled(enabled); }

void GuiSessionRunner::setBlockCount(int blocks)
{
    // The status is read by the first block: the size of the download is known from then on.
    if (blocks == 1) {
        const LoggerInfo& info = m_main.m_records.loggerInfo;
        m_main.m_session->setDownloadSize(DownloadBlockCount(info), DownloadWalk(DownloadWalkStartOf(info)).blockBytes());
    }
    m_main.m_session->setBlockCount(blocks);
}

void GuiSessionRunner::setAbortVisible(bool visible) { m_main.m_session->setAbortVisible(visible); }

void GuiSessionRunner::setSessionWindowVisible(bool visible)
{
    if (visible) {
        m_main.m_session->show();
        m_main.m_session->raise();
    } else {
        m_main.m_session->hide();
    }
}

void GuiSessionRunner::setMainWindowEnabled(bool enabled)
{
    // The menu and the fields, not the window: the windows it owns stay usable.
    m_main.menuBar()->setEnabled(enabled);
    m_main.centralWidget()->setEnabled(enabled);
}

void GuiSessionRunner::setSetupWindowEnabled(bool enabled)
{
    if (m_main.m_setupWindow)
        m_main.m_setupWindow->setEnabled(enabled);
}

void GuiSessionRunner::showMainWindow()
{
    m_main.show();
    m_main.raise();
}

void GuiSessionRunner::showStatusWindow() { m_main.m_status->showStatusWindow(); }
void GuiSessionRunner::closeStatusWindow() { m_main.m_status->closeStatusWindow(); }
void GuiSessionRunner::closeStationAddressDialog() { m_main.m_station->closeStationAddressDialog(); }
void GuiSessionRunner::showStatus()
{
    m_main.m_status->ShowStatus();
    m_main.homeModel().statusRead(QDateTime::currentDateTime());
    m_main.refreshHome();
}
void GuiSessionRunner::dialOutReply(const QByteArray& reply) { m_main.m_status->dialOutReply(reply); }
void GuiSessionRunner::realTimeLine(const QByteArray& line)
{
    if (m_main.m_records.session.realTimeGraph)
        m_main.graphWindow().AppendRealTimeReading(line);
    else
        m_main.m_status->realTimeLine(line);
}
void GuiSessionRunner::offerGraph() { m_main.showDownloadedGraph(); }
void GuiSessionRunner::setGraphLoadOnShow(bool on) { m_main.setGraphLoadOnShow(on); }
void GuiSessionRunner::beep() { QApplication::beep(); }

void GuiSessionRunner::sessionEnded()
{
    SessionRunner::sessionEnded();
    m_main.m_status->sessionEnded();
    m_main.m_station->sessionEnded();
    m_main.refresh();
}

QString GuiSessionRunner::nextAutoAnswerFile() { return m_aa.autoAnswer().nextAutoAnswerFile(); }
void GuiSessionRunner::startResendTimer() { m_aa.autoAnswer().startResendTimer(); }
void GuiSessionRunner::autoAnswerHangup()
{
    m_aa.autoAnswer().AAHangupModem();
    // Every call ends with this hang-up: the home view counts it with its last log line.
    m_main.homeModel().callEnded(std::exchange(m_callOutcome, QString()), QDateTime::currentDateTime());
    m_main.refreshHome();
}

void GuiSessionRunner::appendLogLine(const QString& line)
{
    SessionRunner::appendLogLine(line);
    if (m_main.m_records.session.autoAnswerCount > 0 || m_main.m_records.settings.autoAnswer)
        m_callOutcome = line;
}

} // namespace tamble
