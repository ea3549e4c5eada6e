#pragma once
// The rules of the channel scaling dialogs, without widgets: which entry of a channel's scaling
// list opens which dialog, the checks each dialog makes on OK (in their order), the list entry it
// produces and what it writes into the channel's scaling in the setup record.
//
// The setup window's scaling lists (indexes 0-11 on every channel, thermocouples from 12 on
// channel 3) hold three entries that only open a dialog: 5 "New Linear Scale:", 7 "Custom
// Table:" and 11 "New values Cls/opn:". A dialog's OK replaces entry 4, 6 or 10 of the edited
// channel's list and selects it; Cancel leaves the record alone and the window puts all four lists
// back to their last accepted entries.

#include "setup/setup_record.h"
#include "setup/setup_window_lists.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tamble {

class SetupRecord;

// Help contexts of the scaling dialogs (the table chooser uses kCustomTableHelpContext).
inline constexpr int kLinearScaleHelpContext = 13;
inline constexpr int kCurrentLoopHelpContext = 20;
inline constexpr int kLinearTransducerHelpContext = 21;
inline constexpr int kAdjustScalingHelpContext = 22;
inline constexpr int kContactClosureHelpContext = 25;

// Scaling list indexes the dialogs deal with.
inline constexpr int kLinearScalingIndex = 4;         // "Linear: lo / hi", code '3'
inline constexpr int kNewLinearScalingIndex = 5;      // "New Linear Scale:"
inline constexpr int kTableScalingIndex = 6;          // "Table: (name)", code '1'
inline constexpr int kCustomTableScalingIndex = 7;    // "Custom Table:"
inline constexpr int kContactScalingIndex = 10;       // "Cls/opn: closed / open", code 'X'
inline constexpr int kNewContactScalingIndex = 11;    // "New values Cls/opn:"

enum class ScalingDialogKind { None, LinearScale, CustomTable, ContactClosure };

// The dialog a choice in a scaling list opens (None for every entry that is a scaling itself).
ScalingDialogKind DialogForScalingIndex(int listIndex);

// A scaling list entry a dialog produced: its index in the list and its text.
// The records the scaling dialogs edit: the setup, and the program folder that holds the tables.
struct ScalingRecords {
    SetupRecord& setup;
    const QString& programDir;
};

struct ScalingEntry {
    int listIndex = -1;
    QString text;
    bool operator==(const ScalingEntry&) const = default;
};

// List texts. Scale values are 6 characters each (NormaliseScaleValue/FormatScaleValue).
QString LinearEntryText(const QString& low, const QString& high);          // "Linear: " lo " / " hi
QString ContactEntryText(const QString& closed, const QString& open);      // "Cls/opn: " c " / " o

// The two 6-character halves of a "Linear: lo / hi" entry (what the adjust dialog shows as the
// old scaling); nothing when the text is not such an entry.
struct ScaleHalves {
    QString low;
    QString high;
};
std::optional<ScaleHalves> SplitLinearEntry(const QString& entryText);

// The "Linear: lo / hi" text of a channel's LinearValues in the record.
QString LinearEntryOfRecord(const SetupRecord& setup, int channel);

// Which field of a two-value dialog takes the focus after a refusal.
enum class ScaleField { Low, High };

// The outcome of OK in a scaling dialog: the entry on success, else the messages to show in
// order (error boxes with OK) and the field to focus; the dialog then stays open.
struct ScalingOutcome {
    std::optional<ScalingEntry> entry;
    QStringList messages;
    ScaleField focus = ScaleField::Low;
    bool accepted() const { return entry.has_value(); }
};

// Linear scale OK: both texts normalised and read as numbers; both zero: "One value must be
// non-zero"; equal: "Values must be different". On success the channel gets code '3' and the
// 12 characters lo + hi as LinearValues, and the entry is index 4 "Linear: lo / hi".
ScalingOutcome AcceptLinearScale(SetupRecord& setup, int channel, const QString& lowText, const QString& highText);

// Contact closure OK: the same checks with closed and open; code 'X', closed value as the low
// half, open as the high half; index 10 "Cls/opn: closed / open".
ScalingOutcome AcceptContactClosure(SetupRecord& setup, int channel, const QString& closedText,
                                    const QString& openText);

// Custom table OK with a file name from the program directory (extension included, no
// directory): code '1' and TableName = the name up to its first "."; index 6 "Table: (name)".
// Refused when no file is chosen, or when the name would not find the same file again (more
// than 8 characters before ".RVT", blanks, a further ".", characters outside printable ASCII).
ScalingOutcome AcceptTableFile(SetupRecord& setup, int channel, const QString& fileName);

// Why a table file name cannot be used; nothing when it can.
std::optional<QString> TableFileRefusal(const QString& fileName);

// The table files ("*.RVT", any letter case) directly in `directory`, sorted by name without
// regard to case.
QStringList TableFilesIn(const QString& directory);

// The folder "Custom Table" lists: the program directory, or the current directory when none is
// set. `shown` is the folder as the Directory box writes it.
struct TableFolder {
    QString path;
    QString shown;
};
TableFolder TableFolderFor(const QString& programDir);

} // namespace tamble
