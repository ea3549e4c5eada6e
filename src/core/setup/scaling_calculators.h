#pragma once
// The arithmetic behind the channel scaling dialogs: the 6-character scale value texts, and the
// three calculators that derive a linear scale (the readings at 0 V and at 5 V input) from a
// current loop, from a voltage transducer, or from a two-point correction of an existing scale.
//
// Every function is plain: texts in, texts and messages out. A calculator never produces a value
// from a field that is not a number, from a zero span, or when the result does not fit the six
// characters of a scale value; it reports why instead.

#include <QString>
#include <QStringList>

#include <optional>

namespace tamble {

// Characters of one scale value (each half of a channel's LinearValues).
inline constexpr int kScaleValueWidth = 6;

// A typed scale value made exactly 6 characters: at most 8 characters are looked at; empty
// becomes "0"; a shorter text gets a "." when it has none and is filled with "0"; then it is cut
// to 6. "5" -> "5.0000", "12.5" -> "12.500", "-1" -> "-1.000", "" -> "0.0000".
QString NormaliseScaleValue(const QString& text);

// A calculated value as a scale value: "%6.3f" with a decimal point, cut to 6 characters.
// -25.0 -> "-25.00", 100.502 -> "100.50", 0.0 -> " 0.000", 1234.567 -> "1234.5".
QString FormatScaleValue(double value);

// True when FormatScaleValue(value) keeps the whole integer part (the cut only drops decimals).
bool FitsScaleValue(double value);

// The number a field holds: optional blanks, an optional sign, digits with at most one decimal
// point (".5" and "5." count), optional blanks. Anything else, an empty field included, is not a
// number; so are texts like "nan" and "inf".
std::optional<double> ParseFieldNumber(const QString& text);

// The message for a field that holds no number, e.g. "Low Milliamps is not a number".
QString NotANumberMessage(const QString& fieldName);

// What a calculator gives back. On success `low` and `high` are 6-character scale values and
// `messages` is empty; on failure `messages` holds what to show (each an error box with OK), in
// order, and `badField` the index of the first field that is not a number (-1 when none).
struct CalculatorResult {
    bool ok = false;
    QString low;
    QString high;
    QStringList messages;
    int badField = -1;
};

// Current loop: the loop current flows through a resistor across the logger's 0-5 V input.
struct CurrentLoopEntries {
    QString lowMilliamps;    // LoMaField
    QString highMilliamps;   // HiMaField
    QString resistorOhms;    // OhmsField
    QString lowReading;      // ZeroField
    QString highReading;     // FSField
};
// Field indexes for CalculatorResult::badField, in the order above.
enum CurrentLoopField : int { kLoMaField = 0, kHiMaField, kOhmsField, kCloopZeroField, kCloopFSField };
CalculatorResult CalculateCurrentLoop(const CurrentLoopEntries& entries);

// Linear transducer: a sensor whose output voltage goes straight to the input.
struct LinearTransducerEntries {
    QString minimumVolts;    // LoMaField
    QString maximumVolts;    // HiMaField
    QString minimumReading;  // ZeroField
    QString maximumReading;  // FSField
};
enum LinearTransducerField : int { kMinVoltsField = 0, kMaxVoltsField, kMinReadingField, kMaxReadingField };
CalculatorResult CalculateLinearTransducer(const LinearTransducerEntries& entries);

// Adjust: two readings the logger gave under the old scale, with the true values they stood for.
struct AdjustEntries {
    QString lowLogger;       // LoLoggerField
    QString lowTrue;         // LoTrueField
    QString highLogger;      // HiLoggerField
    QString highTrue;        // HiTrueField
    QString oldLow;          // OldLoValField
    QString oldHigh;         // OldHiValField
};
enum AdjustField : int { kLoLoggerField = 0, kLoTrueField, kHiLoggerField, kHiTrueField, kOldLoField, kOldHiField };
CalculatorResult CalculateAdjust(const AdjustEntries& entries);

} // namespace tamble
