#include "program/main_window_rules.h"

#include <cstring>

#include "datafiles/bank_file.h"
#include "link/realtime_guard.h"

#include <QDir>
#include <QFileInfo>

namespace tamble {

const std::vector<Menu>& MainMenus()
{
    using C = MainCommand;
    static const std::vector<Menu> menus = {
        {QStringLiteral("&File  "), QStringLiteral("File1"),
         {{QStringLiteral("&Graph"), C::FileGraph, {}},
          {QStringLiteral("&Setup"), C::FileSetup, {}},
          {{}, std::nullopt, {}},
          {QStringLiteral("&Last Status"), C::LastStatus, QStringLiteral("Ctrl+L")},
          {{}, std::nullopt, {}},
          {QStringLiteral("E&xit"), C::Exit, {}},
          {{}, std::nullopt, {}},
          {QStringLiteral("&Archive"), C::Archive, {}}},
         std::nullopt, {}},
        {QStringLiteral("&Send   "), QStringLiteral("Send1"),
         {{QStringLiteral("&Setup"), C::SendSetup, {}},
          {QStringLiteral("Station &Address"), C::StationAddress, {}},
          {QStringLiteral("Scaling / &Labels"), C::ScalingLabels, {}},
          {QStringLiteral("Set LX900 &Baud Rate"), C::SetBaudRate, {}}},
         std::nullopt, {}},
        {QStringLiteral("&Receive   "), QStringLiteral("Receive1"),
         {{QStringLiteral("&Data"), C::ReceiveData, QStringLiteral("Ctrl+D")},
          {QStringLiteral("&Status"), C::ReceiveStatus, QStringLiteral("Ctrl+S")},
          {QStringLiteral("Real &Time"), C::RealTime, QStringLiteral("Ctrl+T")},
          {QStringLiteral("&Real Time Graph"), C::RealTimeGraph, QStringLiteral("Ctrl+R")}},
         std::nullopt, {}},
        {QStringLiteral("&Graph   "), QStringLiteral("Graph1"), {}, C::Graph, QStringLiteral("Ctrl+G")},
        {QStringLiteral("S&ettings   "), QStringLiteral("Settings1"), {}, C::Settings, {}},
        {QStringLiteral("&Dial-up  "), QStringLiteral("Dialup1"),
         {{QStringLiteral("&Phone List"), C::PhoneList, {}},
          {QStringLiteral("&Local Modem"), C::LocalModem, {}},
          {QStringLiteral("&Remote Modem"), C::RemoteModem, {}}},
         std::nullopt, {}},
        {QStringLiteral("Terminal"), QStringLiteral("Terminal1"), {}, std::nullopt, {}, true},
        {QStringLiteral("&Utilities  "), QStringLiteral("Utilities1"),
         {{QStringLiteral("Com &Test"), C::ComTest, {}}}, std::nullopt, {}},
        {QStringLiteral("&Help   "), QStringLiteral("Help1"),
         {{QStringLiteral("&Contents"), C::HelpContents, {}},
          {{}, std::nullopt, {}},
          {QStringLiteral("&About"), C::About, {}}},
         std::nullopt, {}},
    };
    return menus;
}

bool RealTimeGuarded(MainCommand command)
{
    switch (command) {
    case MainCommand::FileSetup:
    case MainCommand::SendSetup:
    case MainCommand::StationAddress:
    case MainCommand::ScalingLabels:
    case MainCommand::SetBaudRate:
    case MainCommand::ReceiveData:
    case MainCommand::ReceiveStatus:
    case MainCommand::RealTime:
        return true;
    default:
        return false;
    }
}

bool PassRealTimeGuard(MainCommand command, const SessionState& session, MessageService& messages)
{
    return !RealTimeGuarded(command) || !session.realTimeGraph || ConfirmEndRealTimeGraph(messages);
}

QString SuggestedDataFileName(QByteArrayView description, QDate date,
                              const std::function<bool(const QString&)>& taken)
{
    QString base;
    for (const char c : description) {
        const auto u = static_cast<unsigned char>(c);
        const bool unsafe = u < 0x20 || u == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr;
        base += unsafe ? QLatin1Char('_') : QChar::fromLatin1(c);
    }
    base = base.simplified();
    while (base.startsWith(QLatin1Char('.')))   // no hidden file
        base.remove(0, 1);
    if (base.isEmpty())
        base = QStringLiteral("Logger");
    base += QLatin1Char(' ') + date.toString(Qt::ISODate);
    QString name = base + QStringLiteral(".TL1");
    for (int n = 2; taken && taken(name) && n < 1000; ++n)
        name = base + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").TL1");
    return name;
}

QString SuggestedDataFileNameIn(const QString& folder, QByteArrayView description, QDate date)
{
    return SuggestedDataFileName(description, date,
                                 [&folder](const QString& name) { return QFileInfo::exists(QDir(folder).filePath(name)); });
}

std::optional<DownloadTarget> ReceiveDataTarget(const QString& chosen, bool realTimeGraphRunning,
                                                MessageService& messages)
{
    if (!IsDataFileName(chosen)) {
        messages.ask({DialogKind::Error, QString::fromLatin1(kTl1NameText), DialogButtons::Ok, 0, {}, {}});
        return std::nullopt;
    }
    DownloadTarget target;
    target.dataFile = chosen;
    if (!realTimeGraphRunning)
        target.staleBankFile = BankFileNameFor(chosen);
    return target;
}

MainWindowLook LookOf(const SettingsRecord& settings, const SessionState& session)
{
    MainWindowLook look;
    look.stationVisible = settings.network;
    look.modemPanelVisible = settings.network && session.modemOnline;
    look.phoneVisible = settings.useModem;
    look.autoAnswerMode = settings.autoAnswer;
    look.stationAddress = settings.stationAddress;
    return look;
}

const std::vector<QString>& AutoAnswerDisabledMenus()
{
    static const std::vector<QString> menus = {QStringLiteral("File1"),    QStringLiteral("Send1"),
                                               QStringLiteral("Receive1"), QStringLiteral("Graph1"),
                                               QStringLiteral("Dialup1"),  QStringLiteral("Utilities1")};
    return menus;
}

} // namespace tamble
