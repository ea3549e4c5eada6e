#include "settings/settings_dialog_model.h"

#include <array>

namespace tamble {

namespace {

constexpr std::array<std::int32_t, 8> kBauds{1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};
constexpr int kPortCount = 20;

void Inform(MessageService& messages, const char* text)
{
    UserMessage m;
    m.kind = DialogKind::Information;
    m.text = QString::fromLatin1(text);
    m.buttons = DialogButtons::Ok;
    messages.ask(m);
}

} // namespace

QStringList SettingsDialogModel::baudItems()
{
    // The faster three are offered too: a record holding one of them must show it, and OK must
    // not fall back to another speed behind the user's back.
    return {QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
            QStringLiteral("9600"), QStringLiteral("19.2k"), QStringLiteral("28.8k"),
            QStringLiteral("38.4k"), QStringLiteral("57.6k")};
}

QStringList SettingsDialogModel::connectedItems()
{
    return {QStringLiteral("Single Logger"), QStringLiteral("Network")};
}

QStringList SettingsDialogModel::timeItems()
{
    return {QStringLiteral("24 Hour"), QStringLiteral("Am/Pm")};
}

QStringList SettingsDialogModel::portItems()
{
    QStringList items;
    for (int n = 1; n <= kPortCount; ++n)
        items << QStringLiteral("COM%1").arg(n);
    return items;
}

QStringList SettingsDialogModel::dateFormatItems()
{
    return {QStringLiteral("mm/dd/yyyy (USA)"), QStringLiteral("dd/mm/yyyy")};
}

int SettingsDialogModel::baudOfItem(int item)
{
    return item >= 0 && item < int(kBauds.size()) ? kBauds[std::size_t(item)] : 0;
}

int SettingsDialogModel::itemOfBaud(std::int32_t baud)
{
    for (std::size_t i = 0; i < kBauds.size(); ++i) {
        if (kBauds[i] == baud)
            return int(i);
    }
    return -1;
}

SettingsControls SettingsDialogModel::onShow() const
{
    const SettingsRecord& s = m_settings;
    SettingsControls c;
    c.baudItem = itemOfBaud(s.baud);
    c.portItem = s.portNumber >= 1 && s.portNumber <= kPortCount ? s.portNumber - 1 : -1;
    c.network = s.network;
    c.amPm = s.amPm;
    c.dateFormatItem = s.exportDateFormat <= 1 ? s.exportDateFormat : -1;
    c.wireless = s.wireless;
    c.fastProtocol = s.fastProtocol;
    c.useModem = s.useModem;
    c.autoAnswer = s.autoAnswer;
    c.autoExport = s.autoExport;
    return c;
}

void SettingsDialogModel::dateFormatClicked(int item)
{
    if (item == 0 || item == 1)
        m_settings.exportDateFormat = std::uint8_t(item);
}

void SettingsDialogModel::autoExportClicked(bool checked)
{
    m_settings.autoExport = checked;
}

std::optional<SettingsApplied> SettingsDialogModel::ok(const SettingsControls& c,
                                                       MessageService& messages)
{
    SettingsRecord& s = m_settings;
    if (c.useModem && !c.network) {
        Inform(messages, kUseModemNeedsNetworkText);
        return std::nullopt;
    }

    const std::int32_t oldPort = s.portNumber;
    const std::int32_t oldBaud = s.baud;
    s.wireless = c.wireless;
    s.fastProtocol = c.fastProtocol;
    // A group with nothing selected (a record value outside its table) keeps the record's value.
    if (c.portItem >= 0 && c.portItem < kPortCount)
        s.portNumber = c.portItem + 1;
    if (baudOfItem(c.baudItem) != 0)
        s.baud = baudOfItem(c.baudItem);
    if (!s.fastProtocol && s.baud > 19200) {
        Inform(messages, kBaudNeedsFastProtocolText);
        return std::nullopt;
    }

    SettingsApplied applied;
    applied.portOrBaudChanged = s.portNumber != oldPort || s.baud != oldBaud;
    applied.useModemChanged = s.useModem != c.useModem;
    s.useModem = c.useModem;
    applied.useModem = s.useModem;

    const bool autoAnswer = s.useModem && c.autoAnswer;
    applied.autoAnswerChanged = s.autoAnswer != autoAnswer;
    s.autoAnswer = autoAnswer;
    applied.autoAnswer = autoAnswer;

    applied.networkChanged = s.network != c.network;
    s.network = c.network;
    applied.network = s.network;
    applied.stationAddress = s.stationAddress;

    s.amPm = c.amPm;
    return applied;
}

} // namespace tamble
