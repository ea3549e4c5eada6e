#pragma once
// The engine's test host set up for the window rules and the window tests: waits are over at
// once, dialogs are answered by a MessageService, and the window callbacks go where the test
// forwards them.

#include "virtual_host.h"

#include <memory>

namespace tamble::test {

// The records, the host and an engine over them.
struct WindowRig {
    explicit WindowRig(MessageService& messages)
    {
        host.immediateWaits = true;
        host.messageService = &messages;
        host.clock = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
        records.settings.portNumber = 3;
        records.settings.baud = 9600;
        records.settings.fastProtocol = true;
        engine = std::make_unique<SessionEngine>(
            host, SessionRecords{records.session, records.settings, records.loggerInfo, records.geometry,
                                 records.mode, records.dataFileName});
        host.engine = engine.get();
    }

    // A running real-time session of a logger of `revision` (the port open, real time started).
    void startRealTime(char revision, bool graph)
    {
        records.session.transaction = TransactionKind::RealTime;
        records.session.realTimeRequested = true;
        records.session.realTimeGraph = graph;
        engine->StartSession();
        records.session.revision = revision;
        records.session.linkState = LinkState::Transfer;
    }

    AppRecords records;
    vt::VirtualHost host;
    std::unique_ptr<SessionEngine> engine;
};

} // namespace tamble::test
