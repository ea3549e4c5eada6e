#pragma once
// Every text the Status window shows, built from LoggerInfo as plain data:
// the window only puts them into its boxes. Also the dial-out schedule query
// that follows a plain status read.

#include "datafiles/timebase.h"
#include "format/logger_info.h"
#include "link/realtime.h"
#include "link/session_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace tamble {

struct ChannelScaling;

// How a channel's value is written: decimals and unit.
struct ChannelValueStyle {
    bool threeDecimals = false;  // count input that is not humidity-derived
    QString unit;
};

// Everything ShowStatus puts into the Status window.
struct StatusTexts {
    QString model;                    // ModelBox
    QString revision;                 // RevBox
    bool stationVisible = false;      // StationAddrBox and StationLabel ("Station Addr.")
    QString stationAddress;
    QString battery;                  // BatteryBox
    QString sampleRate;               // SampRateBox
    QString timeSpan;                 // TimeSpanBox
    QString firstReadingLabel;        // FirstReadingLabel
    QString firstReading;             // FirstReadingBox
    QString currentState;             // CurrentStateBox
    QString clock;                    // ClockBox
    QString stopMode;                 // StopModeBox
    QString description;              // IdStatBox
    std::array<QString, 4> onOff;     // onoff1box..onoff4box
    std::array<QString, 4> values;    // Value1Box..Value4Box
    std::array<QString, 4> labels;    // Desc1Box..Desc4Box
    std::array<QString, 4> scaling;   // scal1box..scal4box
    std::array<QString, 4> inputTypes; // inp1box..inp4box
    bool dateCodeVisible = false;     // Panel2
    QString dateCode;                 // DateCodeLabel
};

// "LX700"/"LX600"/"LX500" (digit '1'); "LX900     " or "LX900-M " + "12 bit",
// "10 bit" or "8 bit" (digits '5', '6'); otherwise "LX54"/"LX53"/"LX52" + digit.
QString ModelText(char modelDigit, int resolutionBits);

// " " + letter up to '~'; above it " 2" + the character 62 below the letter.
QString RevisionText(char revision);

// Two-character number (empty for address 0, when the box is hidden).
QString StationAddressText(int address);

// Volts as "%3.1f" + " volts"; empty for revisions below 'c'.
QString BatteryText(char revision, double volts);

// "standard", "temp/RH", "average", "pulse", "0.1s Exc"; other types: empty.
QString InputTypeName(int inputType);

// The scaling box: the scaling text, with a blank at position 7 for code '3',
// "c " in front for code 'X', or a thermocouple name (not for the oldest family).
QString ScalingBoxText(char code, QByteArrayView scalingText, bool oldFamily);

// First number (two characters) + "/" + second (two characters).
QString DateCodeText(const HandshakeDateCode& code);

// Unit of a channel: "Deg C"/"Deg F" for thermistors, platinum and
// thermocouples, "FtCn" light, "Ohms" resistance, "% RH"/"Dew P"/"Wet B" for
// temperature/RH inputs, else empty; a ";" in the label (not as its last
// character) gives the text after it, trailing blanks removed, at most 9.
QString ChannelUnitText(char code, int inputType, QByteArrayView label, bool fahrenheit,
                        int humidityQuantity);

// Value styles of the four channels after the channel set-up and conversion.
std::array<ChannelValueStyle, 4> ChannelValueStyles(const LoggerInfo& info, const ChannelScaling& scaling,
                                                    bool fahrenheit, int humidityQuantity);

// "%7.2f" (or "%7.3f") + unit, cut to 18 characters; " Open" at −95 or below.
QString ValueText(float value, const ChannelValueStyle& style);

// The four value texts (not yet "OFF" for unfitted channels).
std::array<QString, 4> ValueTexts(const std::array<float, 4>& values,
                                  const std::array<ChannelValueStyle, 4>& styles);

// The value boxes: "OFF" for a channel whose scaling code is '0', else its value text.
std::array<QString, 4> ValueBoxTexts(const LoggerInfo& info, const std::array<QString, 4>& valueTexts);

// The power-failed condition: the 23rd character of the clock stamp above
// '7'. A fallback clock stamp is shorter; the seconds-tens digit of the logger
// clock text, which that position would have held, decides instead.
bool PowerFailed(const LoggerInfo& info);

QString CurrentStateText(const LoggerInfo& info, ClockStyle style);
QString StopModeText(const LoggerInfo& info);
QString FirstReadingLabelText(const LoggerInfo& info);
QString FirstReadingText(const LoggerInfo& info);
// "%4.1f" and a seven-character unit; "0.0" and six blanks with no channel on.
QString TimeSpanText(const LoggerInfo& info);

// ShowStatus: every text of the window. `valueBoxes` are the texts of the
// four value boxes (ValueBoxTexts).
StatusTexts BuildStatusTexts(const LoggerInfo& info, const HandshakeDateCode& dateCode,
                             const std::array<QString, 4>& valueBoxes, ClockStyle style);

// The value texts of the current readings of the last status (info.currentValues),
// styled by the channel set-up that decoded them.
std::array<QString, 4> CurrentValueTexts(const LoggerInfo& info, const ChannelScaling& scaling, bool fahrenheit,
                                         int humidityQuantity);

// ShowStatus in one call: the value boxes from the current readings, then every text.
StatusTexts ShowStatusTexts(const LoggerInfo& info, const HandshakeDateCode& dateCode, const ChannelScaling& scaling,
                            bool fahrenheit, int humidityQuantity, ClockStyle style);

// The four value boxes after a real-time line: "Checksum error" in each when
// the line failed its checksum, otherwise the value texts ("OFF" for
// channels not fitted).
std::array<QString, 4> RealTimeValueBoxes(const RealTimeReading& reading, const LoggerInfo& info,
                                          const ChannelScaling& scaling, bool fahrenheit, int humidityQuantity);

// Dial-out schedule: the command body that reads it, and the text of its reply.
inline constexpr const char* kDialOutQueryCommand = "DA01D0";
QString DialOutText(QByteArrayView reply);

// Shown by "&Last Status" when no status has been shown since start.
inline constexpr const char* kNoStatusToShow = "No Status to show; Select Receive/Status";

} // namespace tamble
