#pragma once
// The question asked before a command that would end the running real-time graph: the main
// window's commands, the port procedures and the setup window's Send all ask it the same way.

#include "util/user_dialog.h"

namespace tamble {

inline constexpr const char* kTerminateRealTimeGraph = "This action will terminate Real Time Graph";

// Asks kTerminateRealTimeGraph with OK and Cancel; true when the user chose OK.
inline bool ConfirmEndRealTimeGraph(MessageService& messages)
{
    return messages.ask({DialogKind::Information, QString::fromLatin1(kTerminateRealTimeGraph),
                         DialogButtons::OkCancel}) == DialogAnswer::Ok;
}

} // namespace tamble
