#pragma once
// Channel scaling: the set-up that prepares each of the four channels from the
// current channel description, and the conversion of raw readings into
// engineering values (temperatures, humidity, light, resistance, linear
// scales, contact closures, thermocouples with cold-junction compensation).
//
// All state lives in one `ChannelScaling` value owned by the caller (the data
// set being shown, the status being decoded). The set-up does all file work
// and allocation; `ConvertReading` allocates nothing and runs millions of
// times.
//
// Typical use:
//   ChannelScaling s;
//   s.fullScaleCount = 4095; s.referenceOhms = 30100; s.inputTypes = …;
//   s.labelOffset = {…}; s.fahrenheit = settings.fahrenheit; s.humidityQuantity = …;
//   s.tableDirectory = programDir;
//   s.tableError = false;
//   for (int ch = 1; ch <= 4; ++ch) {
//       auto r = SetUpChannelScaling(s, ch, typeCodes[ch-1], scalingText[ch-1]);
//       if (!r.ok) { show r.message (error, OK); … }
//   }
//   FixCountTables(s);
//   … per time step, channels in ascending order:
//   float value = ConvertReading(s, rawReading, ch);

#include "conversion/sensor_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

namespace tamble {

// Humidity quantity setting: what a temperature/RH channel pair reports.
enum HumidityQuantity : int { kRelativeHumidity = 0, kDewPoint = 1, kWetBulb = 2 };

// Per-channel state built by the set-up.
struct ChannelConversion {
    char code = '0';               // scaling code the channel was set up with
    SensorTable table;
    bool countInput = false;       // the table is looked up with the raw count
    bool nonTemperature = false;   // the values are not temperatures (light)

    // Precomputed by the set-up so the per-reading path only branches.
    bool thermocouple = false;     // code above 'X'
    float millivoltOffset = 0.0f;  // mV = (v - offset) × gain, by input range
    float millivoltGain = 10.0f;
};

struct ChannelScaling {
    // --- Current channel description: set by the caller -------------------
    // Largest raw count (255, 1023, 4095). Read by the set-up (kind N tables)
    // and by every conversion.
    std::uint16_t fullScaleCount = 4095;
    // Reference resistor of resistance inputs, ohms. May change between
    // readings (status decoding sets it per reading) without a new set-up.
    float referenceOhms = 10000.0f;
    // 3 bits per channel: channel 1 in bits 0–2 … channel 4 in bits 9–11.
    std::uint16_t inputTypes = 0;
    // Added to every converted value of the channel (index 0 = channel 1).
    std::array<float, 4> labelOffset{};
    // Settings: Fahrenheit display and humidity quantity (HumidityQuantity).
    bool fahrenheit = false;
    int humidityQuantity = kRelativeHumidity;
    // Folder holding the sensor tables (the program directory); empty means
    // the current directory.
    QString tableDirectory;
    // Tables held elsewhere (in memory); null: the files of tableDirectory.
    const SensorTableSource* tableSource = nullptr;

    // --- Built by the set-up ------------------------------------------------
    std::array<ChannelConversion, 4> channels{};
    // Set when a table file was unusable; left set until the caller clears it.
    bool tableError = false;

    // --- Shared results of the conversion -----------------------------------
    float lastChannel1Value = 0.0f;  // cold junction / channel 3 humidity temperature
    float lastChannel2Value = 0.0f;  // channel 4 humidity temperature
    // Index 2 and 3 (channels 3 and 4): the last value was humidity-derived.
    std::array<bool, 4> humidityDerived{};
};

struct ScalingSetUpResult {
    bool ok = true;
    // When !ok: the error text to show (error dialog, OK button), e.g.
    // "Sensor Table 'A.Rvt' has improper format". tableError is then set.
    QString message;
    // The table file read (after the "C.Rvt" fall-back); empty for codes
    // without a table.
    QString tableFile;
};

// Prepares channel 1–4 from its scaling code and 12-character scaling text
// (low/high value texts for codes '3' and 'X', otherwise a table name).
// A missing table file falls back to "C.Rvt" silently.
ScalingSetUpResult SetUpChannelScaling(ChannelScaling& scaling, int channel, char code,
                                       std::string_view scalingText);

// For every channel with countInput whose first two measured values are both
// 0, the second becomes fullScaleCount. Call after setting up all channels.
void FixCountTables(ChannelScaling& scaling);

// Converts one raw reading of channel 1–4. Readings equal to fullScaleCount
// on non-count channels are converted as fullScaleCount − 1, and `reading`
// itself is lowered accordingly. Convert the channels of one time step in
// ascending order: channels 3 and 4 use the values of channels 1 and 2.
float ConvertReading(ChannelScaling& scaling, std::uint16_t& reading, int channel);

// Millivolts of a thermocouple table at temperature t (reverse lookup).
float ColdJunctionMillivolts(const SensorTable& table, float t);

// Dew point and wet-bulb temperature from temperature (°C) and RH (%), in
// degrees Fahrenheit when `fahrenheit` is set.
float DewPoint(float t, float rh, bool fahrenheit);
float WetBulb(float t, float rh, bool fahrenheit);

// x × 9 / 5 + 32 in single precision.
inline float CelsiusToFahrenheit(float x)
{
    return x * 9.0f / 5.0f + 32.0f;
}

// True when the channel's values are temperatures eligible for the
// Fahrenheit display: code neither 'R' nor 'X', neither countInput nor
// nonTemperature set.
bool CountsAsTemperature(const ChannelScaling& scaling, int channel);

// The correction a channel label carries in square brackets: the text after
// the first "[" up to the next "]" read as a decimal number; 0 without "[" or
// without a "]" after it. Text that is not a number gives the number its
// leading part makes (0 when none).
float LabelOffsetFromLabel(std::string_view label);
float LabelOffsetFromLabel(const QString& label);

} // namespace tamble
