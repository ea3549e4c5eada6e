#include "sim_tl1.h"

#include "datafiles/timebase.h"
#include "writer/tl1_writer.h"

#include <QFile>
#include <cmath>

namespace tamble::sim {

namespace {

QByteArray Two(int n)
{
    return QByteArray::number(n % 100).rightJustified(2, '0');
}

} // namespace

QByteArray ClockTextFromStamp(const QByteArray& stamp)
{
    CalendarCursor c;
    if (!ParseStampInto(QByteArrayView(stamp.trimmed()), c))
        return {};
    return Two(c.second) + Two(c.minute) + Two(c.hour) + Two(c.day) + Two(c.month) + '0' +
           QByteArray::number(c.weekday + 1) + Two(c.year);
}

bool WriteImageFile(const LoggerSim& logger, const QString& path, qint64 nowMs, QString* error)
{
    const SimConfig& c = logger.config();
    const QByteArray status = logger.statusRecord(nowMs);
    const auto hexAt = [&status](int pos) { return status.mid(pos - 1, 2).toInt(nullptr, 16); };
    const auto stamp = [](const QByteArray& clock) {
        return LoggerClockValid(clock) ? LoggerClockToStamp(clock, ClockStyle::AmPm).toLatin1()
                                       : QByteArray("Tue 10-Jun-2003 10:01");
    };
    const unsigned char rev = static_cast<unsigned char>(c.revision);

    Tl1Recording rec;
    Tl1Header& h = rec.header;
    h.referenceCode = rev >= 'q' ? 'C' : rev < 'G' ? 'A' : 'B';
    for (int i = 0; i < 4; ++i)
        h.typeCodes[static_cast<std::size_t>(i)] = i < c.scalingCodes.size() ? c.scalingCodes[i] : '0';
    h.revision = c.revision;
    h.modelDigit = c.model;
    h.inputTypeChars = status.mid(34, 2);
    h.resolutionBits = c.bits;
    h.batteryVolts = static_cast<float>((c.bits == 12 ? static_cast<unsigned char>(status[251])
                                                      : c.bits == 10 ? hexAt(180) : hexAt(170)) * 0.10873 + 0.2);
    h.lastBank = static_cast<char>('A' + logger.lastBank());
    h.firstStamp = stamp(status.mid(0, 14));
    h.lastStamp = stamp(status.mid(14, 14));
    h.description = c.description.leftJustified(31, ' ');
    QByteArray clock = status.mid(181, 14);
    clock[10] = '0';
    h.clockStamp = stamp(clock);
    h.pcClockText = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")).toLatin1();
    for (int i = 0; i < 4; ++i) {
        h.labels[static_cast<std::size_t>(i)] = c.labels[static_cast<std::size_t>(i)].leftJustified(24, ' ');
        h.scalingTexts[static_cast<std::size_t>(i)] = c.scalingTexts[static_cast<std::size_t>(i)];
    }
    h.statusByte1 = hexAt(29);
    h.rateCode = c.rate;
    h.channelFlags = hexAt(33);
    h.endPointer = logger.memory().pointer();
    h.phaseByte = logger.phaseByte();
    const LoggerMemory& m = logger.memory();
    for (int b = 0; b < m.banks(); ++b)
        rec.banks.push_back(m.bytes(b, LoggerMemory::kDataStart, m.bankBytes()).leftJustified(kMemoryImageBytes, '\0'));
    if (!WriteTl1File(path, rec)) {
        if (error)
            *error = QStringLiteral("cannot write ") + path;
        return false;
    }
    return true;
}

std::unique_ptr<LoggerSim> LoggerFromTl1(SimConfig cfg, const QString& path, LogSink log, qint64 startMs,
                                         const QDateTime& startClock, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read ") + path;
        return nullptr;
    }
    const auto parsed = ParseTl1Recording(file.readAll());
    if (!parsed) {
        if (error)
            *error = path + QStringLiteral(": ") + parsed.error();
        return nullptr;
    }
    const Tl1Header& h = parsed->header;
    cfg.revision = h.revision;
    cfg.model = h.modelDigit;
    cfg.bits = h.resolutionBits;
    cfg.channelMask = static_cast<std::uint8_t>(h.channelFlags & 0x0F);
    cfg.channelFlags = h.channelFlags & 0xFF;
    cfg.description = h.description;
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        cfg.labels[k] = h.labels[k];
        cfg.scalingTexts[k] = h.scalingTexts[k];
    }
    cfg.scalingCodes = QByteArray(h.typeCodes.data(), 4);
    if (!h.idLineOverride.isEmpty()) {
        // Older files: one code for all channels, or four codes.
        const QByteArray id = h.idLineOverride;
        cfg.scalingCodes = id.size() == 1 ? QByteArray(4, id[0]) : id.left(4).leftJustified(4, '0');
    }
    const QByteArray it = h.inputTypeChars;
    cfg.inputTypes = it.size() == 2
                         ? (static_cast<unsigned char>(it[0]) & 63) + 64 * (static_cast<unsigned char>(it[1]) & 63)
                         : 0;
    cfg.rate = h.rateCode;
    cfg.statusFlags = h.statusByte1 & 0x3F;
    cfg.pointer = h.endPointer;
    cfg.phase = h.phaseByte;
    cfg.wrap = (h.statusByte1 & 0x08) != 0;
    const int battery = static_cast<int>(std::lround((h.batteryVolts - 0.2) / 0.10873));
    cfg.battery = std::clamp(battery, 0, 255);
    cfg.firstReading = ClockTextFromStamp(h.firstStamp);
    cfg.lastReading = ClockTextFromStamp(h.lastStamp);

    const int banks = static_cast<int>(parsed->banks.size());
    cfg.banks = std::max(1, banks);
    LoggerMemory memory(cfg.bits, cfg.banks);
    for (int b = 0; b < banks; ++b) {
        const QByteArray& image = parsed->banks[static_cast<std::size_t>(b)];
        const int n = std::min<int>(memory.bankBytes(), static_cast<int>(image.size()));
        for (int i = 0; i < n; ++i)
            memory.setByte(b, LoggerMemory::kDataStart + i, static_cast<std::uint8_t>(image[i]));
    }
    memory.setPointer(h.endPointer);
    const int lastBank = std::clamp(h.lastBank - 'A', 0, cfg.banks - 1);
    return std::make_unique<LoggerSim>(cfg, std::move(memory), h.phaseByte, lastBank, std::move(log), startMs,
                                       startClock);
}

} // namespace tamble::sim
