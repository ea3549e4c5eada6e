#include "program/main_commands.h"

#include "link/network.h"

#include <QFile>

namespace tamble {

MainCommands::MainCommands(const SettingsRecord& settings, SessionState& session, QString& dataFileName,
                           MessageService& messages, MainCommandWindows& windows)
    : m_settings(settings), m_session(session), m_dataFileName(dataFileName), m_messages(messages),
      m_windows(windows)
{
}

void MainCommands::startTransaction(TransactionKind kind)
{
    // A command that passed the real-time guard takes the session over.
    if (m_session.realTimeGraph && m_windows.sessionActive())
        m_windows.endSession();
    if (m_windows.sessionActive())
        return;  // one session at a time
    m_windows.startSession(kind);
}

void MainCommands::run(MainCommand command)
{
    if (!PassRealTimeGuard(command, m_session, m_messages))
        return;
    switch (command) {
    case MainCommand::LastStatus: m_windows.showLastStatus(); return;
    case MainCommand::Exit: m_windows.closeProgram(); return;
    case MainCommand::StationAddress:
        if (const auto refusal = StationAddressMenuRefusal(m_settings)) {
            m_messages.ask({DialogKind::Warning, *refusal});
            return;
        }
        m_windows.showStationAddress();
        return;
    case MainCommand::SetBaudRate:
        if (m_windows.sessionActive())
            return;
        if (const auto refusal = m_windows.startBaudRateChange())
            m_messages.ask({DialogKind::Information, *refusal});
        return;
    case MainCommand::FileSetup:
    case MainCommand::SendSetup: m_windows.openSetupWindow(false); return;
    case MainCommand::ScalingLabels: m_windows.openSetupWindow(true); return;
    case MainCommand::ReceiveData: receiveData(); return;
    case MainCommand::ReceiveStatus:
        m_session.retryCount = 0;
        startTransaction(TransactionKind::ReadStatus);
        return;
    case MainCommand::RealTimeGraph: startRealTimeGraph(); return;
    case MainCommand::RealTime:
        m_session.realTimeRequested = true;
        m_windows.hideStatusWindow();
        startTransaction(TransactionKind::RealTime);
        return;
    case MainCommand::Settings:
    case MainCommand::PhoneList:
    case MainCommand::LocalModem:
    case MainCommand::RemoteModem:
    case MainCommand::ComTest:
    case MainCommand::Archive:
    case MainCommand::About: m_windows.openDialog(command); return;
    case MainCommand::HelpContents: m_windows.showHelpContents(); return;
    case MainCommand::FileGraph: m_windows.openGraphFile(); return;
    case MainCommand::Graph: m_windows.showGraph(); return;
    }
}

void MainCommands::receiveData()
{
    const QString chosen = m_windows.askDataFileName();
    if (chosen.isEmpty())
        return;
    const auto target = ReceiveDataTarget(chosen, m_session.realTimeGraph, m_messages);
    if (!target)
        return;
    m_dataFileName = target->dataFile;
    if (!target->staleBankFile.isEmpty())
        QFile::remove(target->staleBankFile);
    startTransaction(TransactionKind::ReceiveData);
}

// Receive/Real Time Graph: the graph window appears at the first reading.
void MainCommands::startRealTimeGraph()
{
    if (m_session.realTimeGraph) {
        m_windows.showGraph();
        return;
    }
    if (m_windows.sessionActive())
        return;  // one session at a time
    m_session.realTimeRequested = true;
    m_windows.prepareRealTimeGraph();
    m_session.realTimeGraph = true;
    m_windows.hideStatusWindow();
    startTransaction(TransactionKind::RealTime);
}

} // namespace tamble
