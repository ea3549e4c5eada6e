// Random byte streams, time-outs, aborts and drained-output events fed to the session engine in
// every transaction and link setting. Nothing may crash, hang or grow without bound.
#include "../unit/link/virtual_host.h"

#include <cstddef>
#include <cstdint>

using namespace tamble;
using namespace tamble::vt;

namespace {

const TransactionKind kKinds[] = {TransactionKind::StatusFirst, TransactionKind::ReadStatus,
                                  TransactionKind::ReceiveData,  TransactionKind::SendSetup,
                                  TransactionKind::ProgramStationAddress, TransactionKind::RealTime,
                                  TransactionKind::EndRealTime,  TransactionKind::SetBaudRate,
                                  TransactionKind::None};
const int kBauds[] = {1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    VirtualLink link;
    link.host.logger = nullptr;  // the input plays the logger
    SettingsRecord& set = link.records.settings;
    const std::uint8_t a = data[0];
    const std::uint8_t b = data[1];
    set.fastProtocol = a & 1;
    set.useModem = a & 2;
    set.wireless = a & 4;
    set.network = a & 8;
    set.autoAnswer = a & 16;
    link.records.mode.receive = a & 32;
    link.records.mode.receiveCsv = a & 64;
    link.records.session.modemOnline = a & 128;
    set.baud = kBauds[b & 7];
    link.records.session.autoAnswerCount = (b & 8) ? 1 : 0;
    link.host.modelOutputDrain = b & 16;
    const TransactionKind kind = kKinds[(b >> 5) % (sizeof(kKinds) / sizeof(kKinds[0]))];
    link.host.vport.refuseOpen = data[2] == 0xFF;

    link.start(kind);
    std::size_t i = 3;
    int events = 0;
    while (i < size && !link.engine.finished() && events < 4000) {
        const std::uint8_t op = data[i++];
        ++events;
        switch (op & 7) {
        case 0:
        case 1:
        case 2: {
            const std::size_t n = std::min<std::size_t>(size - i, (op >> 3) + 1);
            link.engine.onBytes(QByteArray(reinterpret_cast<const char*>(data + i), static_cast<qsizetype>(n)));
            i += n;
            break;
        }
        case 3: {
            // A long run of one byte: babbling lines must stay bounded.
            const int n = (op >> 3) * 300;
            link.engine.onBytes(QByteArray(n, i < size ? static_cast<char>(data[i]) : 'x'));
            break;
        }
        case 4:
            link.engine.onTimeout();
            break;
        case 5:
            link.engine.onAbort();
            break;
        case 6:
            link.host.now += 1000000;
            link.engine.onOutputDrained();
            break;
        default: {
            const std::size_t n = std::min<std::size_t>(size - i, (op >> 3) + 1);
            link.host.vport.input += QByteArray(reinterpret_cast<const char*>(data + i), static_cast<qsizetype>(n));
            i += n;
            link.engine.onBytesAvailable();
            break;
        }
        }
        if (link.records.session.rxBuffer.size() > SessionEngine::kMaxLineBytes)
            __builtin_trap();
    }
    return 0;
}
