#pragma once
// Why a serial device could not be opened, in words a user can act on: the device is missing, the
// user lacks the group that owns it, only its owner may use it, or it is probably in use. Shown as
// the informative text below "Unable to open selected ComPort - check Settings".

#include <QString>

namespace tamble {

// The message of a port that cannot be opened; PortOpenDiagnosis says why below it.
inline constexpr const char* kPortOpenFailedText = "Unable to open selected ComPort - check Settings";

// What the file system and the user database say about a device and this process.
struct PortAccessFacts {
    bool exists = false;
    bool staleLink = false;      // a symbolic link whose device is gone
    QString linkTarget;          // where a stale link points
    bool isDir = false;
    QString owner;
    QString group;
    QString mode;                // "rw-rw----"
    bool superUser = false;
    bool isOwner = false;
    bool inGroup = false;        // this process holds the device's group
    bool listedInGroup = false;  // the user database lists the user in it (a new login brings it)
    bool ownerReadWrite = false;
    bool groupReadWrite = false;
    bool otherReadWrite = false;
};

PortAccessFacts GatherPortFacts(const QString& devicePath);

// The explanation for `devicePath` given the facts.
QString DiagnosisText(const QString& devicePath, const PortAccessFacts& facts);

// DiagnosisText(devicePath, GatherPortFacts(devicePath)).
QString PortOpenDiagnosis(const QString& devicePath);

} // namespace tamble
