#pragma once
// The rules of the setup window without widgets: what each control shows of
// the setup record and how the record is built back from them, the change
// rules of the controls, the scaling entries that open a dialog, the start
// entries that open the pre-set date dialog, the total log time and whether the
// window differs from the setup last loaded, shown or saved.
//
// The model works on the one process-wide SetupRecord; the window binds its
// controls to state() and calls the change functions. Given the program's
// memory capacity, the model keeps it at the capacity of the model and
// resolution it shows.

#include "setup/setup_record.h"
#include "setup/setup_window_lists.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace tamble {

struct LoggerInfo;

inline constexpr const char* kLastStatusName = "LAST STATUS";
inline constexpr const char* kNoStatusToLoad = "No Status to load; Exit and select Receive/Status";
inline constexpr const char* kSaveNameText = "File not saved; file name must end in '.SET'";
inline constexpr const char* kSaveChangesText = "Save changes?";
inline constexpr const char* kFullSetupTitle = "Tamble Logger Setup";
inline constexpr const char* kScalingOnlyTitle = "Change Scaling and/or Labels";

// The dialog a scaling entry opens, what it starts from and what it gave.
struct ScalingChoice {
    enum class Dialog { LinearScale, ContactClosure, CustomTable };
    Dialog dialog = Dialog::LinearScale;
    // In: the channel's "Linear: " entry as its 12 characters (the adjust calculator's old scale).
    QString currentLinear;
    // Out: the two 6-character values (linear scale, contact closure), or the
    // chosen table file's name without directory ("MYTABLE.RVT").
    QString low;
    QString high;
    QString tableFile;
};

// Takes what a scaling dialog's entry text gave into `choice`: the table file between the
// parentheses of "Custom (MYTABLE.RVT)", or the two values of "Linear: lo / hi" and
// "Cls/opn: c / o". False when the text holds none.
bool TakeScalingEntry(const QString& entryText, ScalingChoice& choice);

// One channel's scaling list.
struct ScalingListState {
    int index = 2;          // the selected entry
    int lastIndex = 2;      // the last accepted entry (a cancelled dialog goes back to it)
    QString linear = QStringLiteral("0.0000100.00");   // entry 4, 12 characters
    QString table = QStringLiteral("1.rvt");           // entry 6, the file name between the parentheses
    QString contact = QStringLiteral("1.00000.0000");  // entry 10, closed then open
};

struct SetupWindowState {
    int model = 3;
    int rate = kDefaultRateIndex;
    int resolution = 0;                 // ResBox index: 12, 10, 8 bit
    std::array<bool, 4> on{true, true, true, true};
    std::array<ScalingListState, 4> scaling;
    std::array<int, 4> inputType{0, 0, 0, 0};
    std::array<QString, 4> labels{QStringLiteral("Channel 1"), QStringLiteral("Channel 2"),
                                  QStringLiteral("Channel 3"), QStringLiteral("Channel 4")};
    QString description;
    int start = 0;
    int run = 0;
    QStringList startEntries = StartEntries('n');
    QStringList runEntries = RunEntries('n');
    QString fileName;                   // FileNameLabel
};

// What choosing a start entry asks for.
enum class StartDialog { None, PresetDate, DialOut };

class SetupWindowModel {
public:
    explicit SetupWindowModel(SetupRecord& setup);
    SetupWindowModel(SetupRecord& setup, std::int32_t& memoryCapacity);

    const SetupWindowState& state() const { return m_state; }
    SetupRecord& setup() { return m_setup; }

    // --- what the controls show ---
    bool resolutionVisible() const { return ModelHasResolution(m_state.model); }
    int memoryCapacity() const { return MemoryCapacityOf(m_state.model, m_state.resolution); }
    QString totalLogTime() const;
    QStringList scalingEntries(int channel) const;
    // The window differs from the setup it last loaded, showed or saved.
    bool modified() const;
    bool showsStatus() const { return m_state.fileName == QLatin1String(kLastStatusName); }

    // --- showing and building ---
    // The setup record in the controls; `today` and `locale` give the start entry texts.
    void setupToWindow(const QDate& today, const QLocale& locale = QLocale());
    // The last logger status in the controls; the record is not touched.
    void statusToWindow(const LoggerInfo& info);
    // Builds the record from the controls.
    void windowToSetup();
    // The record windowToSetup would build, leaving the record alone.
    SetupRecord built() const;
    // The window now stands for the setup last loaded, shown or saved.
    void markUnmodified();

    // --- preparation ---
    void setFileName(const QString& name) { m_state.fileName = name; }
    // The start and run entries of a firmware revision letter.
    void setFirmware(char revision);
    // ModelBox from a logger type; a type without a model leaves it.
    void setModelFromType(int resolutionType);

    // --- change rules ---
    void chooseModel(int index);
    void chooseResolution(int index);   // also the record's Resolution, at once
    void chooseRate(int index);
    void toggleChannel(int channel);
    void chooseInputType(int channel, int index);
    // The text the field keeps: characters the logger cannot store are blanks, cut to the width.
    QString editLabel(int channel, const QString& text);
    QString editDescription(const QString& text);
    StartDialog chooseStart(int index);
    // The pre-set date dialog's OK: the entry it chose and its new text.
    void acceptStart(int entry, const QString& text);
    // The dialog's Cancel: the start list goes back to the choice before.
    void cancelStart();
    void chooseRun(int index);

    // A scaling entry chosen on `channel`: the dialog it opens, if any.
    std::optional<ScalingChoice> chooseScaling(int channel, int index);
    int editedChannel() const { return m_editedChannel; }
    // The dialog's OK: its entry on the edited channel, selected and accepted.
    void acceptScaling(const ScalingChoice& choice);
    // The dialog's Cancel: all four lists back to their last accepted entries.
    void cancelScaling();

private:
    void showScalingCode(int channel, char code, const QByteArray& table, const QByteArray& linear);
    void keepCapacity();

    SetupRecord& m_setup;
    std::int32_t* m_capacity = nullptr;   // the program's memory capacity, when it follows
    SetupWindowState m_state;
    SetupRecord m_shown;      // built() when the window last stood for a setup
    int m_editedChannel = 1;
    int m_startBefore = 0;
};

// What a .SET file or an import must hold for the window to take it: a known
// sample rate, start and run choices, channel flags, resolution, dial-out kind
// and today flag in range, and text lengths within their fields. The message
// when it does not; nothing when it does.
std::optional<QString> SetupRecordProblem(const SetupRecord& setup);

// The save name must end in ".SET" (any case).
bool IsSetupFileName(const QString& path);

} // namespace tamble
