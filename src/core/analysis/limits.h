#pragma once
// Low and high limits of channels 1-4, kept per data file in a small side-car file beside it
// ("NAME.limits", JSON). The data file itself is never touched.
//
//   {"channels": {"1": {"low": 2.0, "high": 8.0}, "3": {"high": 75}}}

#include "analysis/statistics.h"

#include <QString>
#include <array>
#include <optional>

namespace tamble {

using LimitSet = std::array<ChannelLimits, 4>;   // channel 1 first

// "Low limit must be below the high limit" and friends; empty when the limits can be used.
QString LimitsRefusal(const ChannelLimits& limits);
// A limit typed in a field: empty is no limit; otherwise a number or a refusal.
struct LimitEntry {
    std::optional<double> value;
    bool ok = true;
};
LimitEntry ParseLimitText(const QString& text);

// The limits typed in the Limits dialog for channels 1-4 (empty fields: no limit), or the first
// refusal, naming its channel's label.
struct LimitsEntry {
    LimitSet limits;
    QString refusal;
};
LimitsEntry LimitsFromTexts(const std::array<QString, 4>& low, const std::array<QString, 4>& high,
                            const std::array<QString, 4>& labels);

// "CH:LOW:HIGH" of the command line, either number may be left out ("2::8.5": a high limit only):
// the channel and its limits, or a refusal.
struct LimitArgument {
    int channel = 0;
    ChannelLimits limits;
    QString refusal;
};
LimitArgument ParseLimitArgument(const QString& text);

// The side-car file of a data file: the data file's name with its extension replaced by ".limits".
QString LimitsFileName(const QString& dataFile);

struct LimitsLoad {
    LimitSet limits;
    QString message;   // a damaged file: what to report (its limits are ignored)
};
// No file is no limits and no message.
LimitsLoad LoadLimits(const QString& dataFile);
// Written through a temporary file and a rename; without any limit the side-car is removed.
// Returns the error text, empty on success.
QString SaveLimits(const QString& dataFile, const LimitSet& limits);

} // namespace tamble
