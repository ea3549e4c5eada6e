#pragma once
// The rules of the Settings dialog: which control shows which settings field, the item tables of
// its groups, the two choices stored as soon as they are clicked, and what OK checks and stores,
// in order. The widget only copies controls to and from SettingsControls.

#include "settings/settings_record.h"
#include "util/user_dialog.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace tamble {

// The state of the dialog's controls. An item of -1 means no button of that group is selected.
struct SettingsControls {
    int baudItem = -1;         // "Baud": 1200 .. 57600
    int portItem = -1;         // "Port": COM1 .. COM20
    bool network = false;      // "Connected to": "Network" (else "Single Logger")
    bool amPm = true;          // "Time": "Am/Pm" (else "24 Hour")
    int dateFormatItem = -1;   // "Export Date Format"
    bool wireless = false;     // "Wireless Comm"
    bool fastProtocol = true;  // "LX9xx Protocol"
    bool useModem = false;     // "Use Modem"
    bool autoAnswer = false;   // "Auto Answer"
    bool autoExport = false;   // "Auto Export Data"

    bool operator==(const SettingsControls&) const = default;
};

// What an accepted OK changed for the other windows. The main window applies it: phone controls
// shown exactly when useModem; auto-answer mode started (autoAnswer) or stopped (otherwise) on
// every OK, since port or baud may have changed under it; station controls shown with the
// station address exactly when network.
struct SettingsApplied {
    bool useModem = false;
    bool useModemChanged = false;
    bool autoAnswer = false;
    bool autoAnswerChanged = false;
    bool network = false;
    bool networkChanged = false;
    bool portOrBaudChanged = false;
    std::uint8_t stationAddress = 1;
};

inline constexpr const char* kUseModemNeedsNetworkText = "Must check 'Network' if using modems";
inline constexpr const char* kBaudNeedsFastProtocolText =
    "Selected baud rate is only supported by LX9xx Protocol.  "
    "Check 'LX9xx Protocol' or select a slower baud rate.";
inline constexpr int kSettingsHelpContext = 1;

class SettingsDialogModel {
public:
    explicit SettingsDialogModel(SettingsRecord& settings) : m_settings(settings) {}

    // Item tables (captions in group order).
    static QStringList baudItems();
    static QStringList connectedItems();
    static QStringList timeItems();
    static QStringList portItems();
    static QStringList dateFormatItems();

    // Baud of a "Baud" item and back; 0 / -1 outside the table.
    static int baudOfItem(int item);
    static int itemOfBaud(std::int32_t baud);

    // The controls as the record says, when the dialog is shown.
    SettingsControls onShow() const;

    // "Auto Answer" is visible only while "Use Modem" is checked.
    static bool autoAnswerVisible(const SettingsControls& controls) { return controls.useModem; }

    // Stored at once; they stay even when the dialog is then cancelled.
    void dateFormatClicked(int item);
    void autoExportClicked(bool checked);

    // OK: the checks and stores in their order. nullopt: a message was shown and the dialog stays
    // open (what was stored before the message stays stored). Otherwise the dialog closes.
    std::optional<SettingsApplied> ok(const SettingsControls& controls, MessageService& messages);

private:
    SettingsRecord& m_settings;
};

} // namespace tamble
