#pragma once
// Rules of the graph window that need no widget: the file time stamp as a
// date-time, legend texts, the window's menu checks, axis label and range of a
// channel, the X-axis file-name text and the window's size and caption.

#include "conversion/channel_units.h"
#include "datafiles/bank_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tamble {

inline constexpr const char* kInvalidDateText = "Invalid Date string";
inline constexpr const char* kInvalidMonthText = "Invalid Month string";
inline constexpr const char* kSelectGraphTitle = "Select Graph";
inline constexpr int kSelectGraphHelpContext = 15;
inline constexpr int kGraphHelpContext = 2;
inline constexpr int kRealTimeGraphHelpContext = 27;

struct StampDateTime {
    double value = 0;          // days since 30 December 1899, with the time of day
    QStringList messages;      // "Invalid Date string" / "Invalid Month string", in that order
};

// Reads a file time stamp ("Thu 05 Mar 1998 09:07:03", two-digit years, am/pm forms).
StampDateTime StampToDateTime(QByteArrayView stamp);

// The label part before the first ";" or "~" (searched from the second character
// to the one before last), without trailing blanks.
QByteArray LegendText(QByteArrayView label);

// The file dialog filter of "Select Graph", in Qt's form.
QString GraphFileFilter();

enum class FileNameDisplay { NameOnly, PathAndName, Hidden };
QString XAxisLabelText(const QString& dataFileName, FileNameDisplay display);

// Item of each radio group to check, counted from the top of its menu; -1 for none.
int FontSizeItem(int textSize);        // Large, Medium, Small
int TextSizeForItem(int item);
int GridItem(int grid);                // Both, Y, X, No Grid
int GridForItem(int item);
int DisplayModeItem(int colourMode);   // Color, Monochrome, Monochrome + Symbols
int ColourModeForItem(int item);
int MoistureItem(int humidityQuantity); // % RH, Wet Bulb, Dew Point
int HumidityForItem(int item);

// Point marks are drawn only when one graph point stands for one reading.
bool PointMarksShown(bool markDataPoints, int graphStep);

// Window size for a screen height (639 x 452 scaled by height / 480) and caption.
struct WindowSize { int width = 639; int height = 452; };
WindowSize GraphWindowSize(int screenHeight);
QString GraphCaption(bool realTime);

} // namespace tamble
