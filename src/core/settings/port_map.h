#pragma once
// Which device COM n reaches: the device named by $TAMBLE_COM<n>, else by the line
// "COM<n>=<device>" of "ports.ini" in the program directory, else /dev/ttyS<n-1>. Also the editing
// of "ports.ini" and the order in which detected serial devices are offered for a mapping.

#include "util/result.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tamble {

inline constexpr const char* kPortsFileName = "ports.ini";
inline constexpr const char* kSerialByIdDir = "/dev/serial/by-id";

enum class ComSource { Environment, PortsFile, Default };

struct ComDevice {
    QString path;
    ComSource source = ComSource::Default;
};

// "TAMBLE_COM<n>".
QString ComEnvironmentName(int number);

// The device of COM `number` in the text of "ports.ini"; empty when no line names one. The first
// line "COM<n>=" (any case, blanks around the line and the device ignored) with a device wins.
QString PortsFileDevice(const QString& text, int number);

// The device COM `number` reaches when nothing maps it: /dev/ttyS<number-1>.
QString DefaultComDevice(int number);

// Where COM `number` leads and why.
ComDevice LookUpComDevice(int number, const QString& programDir);
QString ResolveComDevice(int number, const QString& programDir);

// The text shown beside COM `number`: the device, where the mapping comes from, whether the device
// is present.
QString ComDeviceText(int number, const ComDevice& device, bool present);
// The same for COM `number` as it is now: looked up for `programDir`, present when the device exists.
QString CurrentComDeviceText(int number, const QString& programDir);

// `text` with COM `number` mapped to `device`: the first line of that port is replaced, later
// lines of the same port are dropped, every other line stays as it was (line ends included); a
// missing port gets a line at the end. An empty device removes the port's lines.
QString SetPortsFileEntry(const QString& text, int number, const QString& device);

// Writes the mapping into "ports.ini" of `programDir` (temporary file and rename). A device that
// would break the line (a line break) is refused. Returns the file written.
Result<QString> WritePortMapping(const QString& programDir, int number, const QString& device);

// A device offered for a mapping: `path` is what "ports.ini" will hold, `target` the device node.
struct SerialChoice {
    QString path;
    QString target;
    bool byId = false;
};

// The stable names under `byIdDir` first (by name), then every enumerated device that none of
// them leads to (in natural order: ttyUSB2 before ttyUSB10). Entries that do not lead to an
// existing device are left out.
std::vector<SerialChoice> ListSerialChoices(const QString& byIdDir, const QStringList& enumerated);

} // namespace tamble
