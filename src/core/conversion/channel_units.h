#pragma once
// Unit and fixed axis range of each channel: from the channel's scaling code
// (temperatures, light, resistance, humidity), overridden by the label, which
// may carry "~min,max" (a fixed range) and ";unit" (a unit of its own). The
// export's column headings and the graph's axes use the same texts.

#include <QByteArray>
#include <array>

namespace tamble {

struct ChannelUnit {
    QByteArray unit;        // at most 9 characters
    QByteArray rangeText;   // at most 10 characters; empty: no fixed range
    double rangeMin = 0;
    double rangeMax = 0;
};

// Unit of a channel by its scaling code alone: "Deg F"/"Deg C" for the
// thermistor, platinum and thermocouple codes, "FtCn" for light, "Ohms" for
// resistance, the humidity quantity's unit for any other code on a channel of
// input type 1 (temperature/RH), otherwise empty.
QByteArray UnitForCode(char code, int inputType, bool fahrenheit, int humidityQuantity);

// Applies the label's ";unit" and "~range" parts to `unit` (the last ";" or
// "~" found at positions 1 .. length-1 wins).
void ApplyLabelUnitAndRange(ChannelUnit& unit, QByteArrayView label);

// Units of channels 1-4 of a single-bank recording: by code, then the label.
std::array<ChannelUnit, 4> DeriveChannelUnits(const std::array<char, 4>& typeCodes, int inputTypes,
                                              const std::array<QByteArray, 4>& labels, bool fahrenheit,
                                              int humidityQuantity);

} // namespace tamble
