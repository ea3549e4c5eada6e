#pragma once
// The fixed lists of the setup window and the translations between their
// indexes and the codes of the setup record: logger models and their memory
// capacity, the 28 sample rates, the resolutions, the channel scaling lists
// (channel 3 with the thermocouple entries), the input types, the start and run
// entries that depend on the logger's firmware, and the total log time text.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

// ---------------------------------------------------------------- model, resolution

// "LX500", "LX600", "LX700", "LX900", "LX900-M"
const QStringList& ModelTexts();
// "12 bit <High>", "10 bit <Med>", "  8 bit <Low>"
const QStringList& ResolutionTexts();
// Only LX900 and LX900-M (index 3 and 4) have a resolution choice.
bool ModelHasResolution(int modelIndex);
// Readings the memory of a model holds at a resolution (index into ResolutionTexts).
int MemoryCapacityOf(int modelIndex, int resolutionIndex);
// The model of a logger type (settings and status): 1 LX500, 2 LX600, 3 LX700,
// 5 LX900, 6 LX900-M; nothing for any other type.
std::optional<int> ModelIndexOfResolutionType(int resolutionType);

// ---------------------------------------------------------------- sample rate

inline constexpr int kDefaultRateIndex = 11;  // "10 secs"
const QStringList& RateTexts();
// The code of a list index; the code of "10 secs" for an index out of range.
char RateCodeAt(int index);
// The list index of a code; "10 secs" for a code not in the list.
int RateIndexOf(char code);

// ---------------------------------------------------------------- scaling

inline constexpr int kLinearEntry = 4;
inline constexpr int kNewLinearEntry = 5;
inline constexpr int kTableEntry = 6;
inline constexpr int kCustomTableEntry = 7;
inline constexpr int kContactEntry = 10;
inline constexpr int kNewContactEntry = 11;

// 12 entries, 44 on channel 3.
int ScalingEntryCount(int channel);
// The text of an entry that never changes; empty for the entries 4, 6 and 10,
// whose texts come from the setup, and for an index out of range.
QString FixedScalingText(int channel, int index);
// The code an entry stores; nothing for the entries that only open a dialog
// (5, 7, 11) and for indexes the channel does not have.
std::optional<char> ScalingCodeAt(int channel, int index);
// The entry a code selects on a channel; nothing for a code the list does not know.
std::optional<int> ScalingIndexOf(int channel, char code);

// "Linear: " + low + " / " + high, from the 12 characters of LinearValues.
QString LinearEntryText(const QString& values);
// "Cls/opn: " + closed + " / " + open.
QString ContactEntryText(const QString& values);
// "Table: (" + file name + ")".
QString TableEntryText(const QString& fileName);
// The table name a file name stores: up to its first "." and at most 8 characters.
QByteArray TableNameOfFile(const QString& fileName);

// ---------------------------------------------------------------- input types

// "Standard", "Temp/RH", "Average", then "0.1s Excit" (channels 1-3) or "Pulse" (channel 4).
const QStringList& InputTypeTexts(int channel);
// The entry of a stored value: 5 (channels 1-3) and 4 (channel 4) select entry 3,
// 0-2 themselves; nothing for a value the list has no entry for.
std::optional<int> InputTypeIndexOf(int channel, int value);
// The stored value of an entry.
int InputTypeValueAt(int channel, int index);

// ---------------------------------------------------------------- start and run

inline constexpr const char* kPresetStartEntry = "at pre-set time";
inline constexpr const char* kDialOutStartEntry = "immediate, with pre-set dial-out time";
// The four start entries and three run entries for a firmware revision letter:
// the third entries name the thermistors up to revision 'n', the channel 1 probe after.
QStringList StartEntries(char revision);
QStringList RunEntries(char revision);

// ---------------------------------------------------------------- total log time

// How long the memory lasts: "%4.1f" of the time and a seven-character unit;
// " 0.0" with no channel on.
QString TotalLogTimeText(char rateCode, int modelIndex, int memoryCapacity, int channelsOn);

// ---------------------------------------------------------------- texts

// A label or description as the logger will get it: characters it cannot store
// (control characters, anything beyond "~" and the command start ">") become blanks.
QString LoggerText(const QString& text);

} // namespace tamble
