#pragma once
// The built-in transactions that begin with the status record: ReadStatus, ReceiveData, RealTime.

#include "link/session_engine.h"

#include <memory>

namespace tamble {

std::unique_ptr<TransactionHandler> MakeStatusTransaction();

// The system's "c" date-time text of `when` (short date, long time).
QString TransferStampText(const QDateTime& when);

} // namespace tamble
