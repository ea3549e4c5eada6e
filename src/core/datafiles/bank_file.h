#pragma once
// The .TL2 file of a multi-bank recording, as the .TL1 loader and the .TL2 code both know it: the
// sink the loader hands the decoded banks to, and how the names of a .TL1 file and its .TL2 file
// go together.

#include "datafiles/dataset.h"

#include <QString>

namespace tamble {

// Receives the decoded banks of a multi-bank recording in file order. The
// .TL2 writer implements it: bank 0 creates `data.bankFileName` as a CSV
// export with header, later banks append their data lines, finish() closes.
// When a bank is handed over, `data.rawPlanes` and `data.readingsPerChannel`
// hold that bank's readings.
class BankSink {
public:
    virtual ~BankSink() = default;
    // false stops the load (the sink has reported its own failure).
    virtual bool writeBank(const DataSet& data, int bankIndex) = 0;
    virtual void finish(const DataSet& data) = 0;
};

// A .TL1 file: the name ends in ".TL1" (any case).
bool IsDataFileName(const QString& path);

// A .TL2 file: the name ends in ".TL2" or ".tl2".
bool IsBankFileName(const QString& path);

// data.bankFileName for a .TL1 path: its last four characters become ".TL2".
QString BankFileNameFor(const QString& tl1Path);

// The way back: the .TL1 file a multi-bank recording is read again from. A three-character
// extension becomes "TL1"; a name without one gets ".TL1" added.
QString DataFileNameFor(const QString& bankPath);

} // namespace tamble
