#include "settings/settings_record.h"

#include "util/bytes.h"
#include "util/file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tamble {

namespace {

using namespace tamble::bytes;

// Text fields hold one byte per character; characters outside Latin-1 cannot be stored.
QString getText(const QByteArray& buf, qsizetype offset, int width)
{
    return QString::fromLatin1(get_pstring(buf, offset, width));
}

void putText(QByteArray& buf, qsizetype offset, int width, const QString& text)
{
    put_pstring(buf, offset, width, text.toLatin1());
}

} // namespace

QByteArray SerializeSettings(const SettingsRecord& rec)
{
    QByteArray buf(kSettingsRecordSize, '\0');
    put_i32le(buf, 0, rec.baud);
    put_i32le(buf, 4, rec.portNumber);
    put_u8(buf, 8, rec.fahrenheit);
    put_u8(buf, 9, rec.network);
    put_u8(buf, 10, rec.useModem);
    put_u8(buf, 11, rec.amPm);
    put_u8(buf, 12, rec.viewportMode);
    put_u8(buf, 13, rec.wireless);
    for (int i = 0; i < 4; ++i)
        put_u8(buf, 14 + i, rec.viewportAssignment[static_cast<std::size_t>(i)]);
    put_u8(buf, 18, rec.stationAddress);
    put_u8(buf, 19, rec.grid);
    put_u8(buf, 20, rec.textSize);
    put_u8(buf, 21, rec.colourMode);
    put_u8(buf, 22, rec.thickPlotting);
    put_u8(buf, 23, rec.markDataPoints);
    put_u8(buf, 24, rec.gridInFront);
    put_i32le(buf, 28, rec.phoneEntry);
    put_u8(buf, 32, static_cast<std::uint8_t>(rec.lastRevision));
    put_u8(buf, 33, rec.resolutionType);
    putText(buf, 34, kSettingsPathWidth, rec.lastSetupFile);
    putText(buf, 290, kSettingsPathWidth, rec.lastDataFile);
    putText(buf, 546, kSettingsPathWidth, rec.colourFile);
    put_u8(buf, 802, rec.radioChannel);
    put_i32le(buf, 804, rec.localModemEntry);
    putText(buf, 808, kSettingsPathWidth, rec.localModemInit);
    put_i32le(buf, 1064, rec.remoteModemEntry);
    putText(buf, 1068, kSettingsPathWidth, rec.remoteModemInit);
    putText(buf, 1324, kSettingsPhoneWidth, rec.phoneNumber);
    put_u8(buf, 1579, rec.exportDateFormat);
    put_u8(buf, 1580, rec.humidityQuantity);
    put_u8(buf, 1581, rec.reserved);
    put_i32le(buf, 1584, rec.autoFileCounter);
    put_u8(buf, 1588, rec.fastProtocol);
    put_u8(buf, 1589, rec.noHeader);
    put_u8(buf, 1590, rec.autoAnswer);
    put_u8(buf, 1591, rec.autoExport);
    put_i32le(buf, 1592, rec.exportAveraging);
    return buf;
}

std::optional<SettingsRecord> DeserializeSettings(const QByteArray& bytes)
{
    if (bytes.size() < kSettingsRecordSize)
        return std::nullopt;
    // Only the first record counts; a longer file carries nothing else we read.
    const QByteArray buf = bytes.left(kSettingsRecordSize);
    SettingsRecord rec;
    rec.baud = get_i32le(buf, 0);
    rec.portNumber = get_i32le(buf, 4);
    rec.fahrenheit = get_u8(buf, 8) != 0;
    rec.network = get_u8(buf, 9) != 0;
    rec.useModem = get_u8(buf, 10) != 0;
    rec.amPm = get_u8(buf, 11) != 0;
    rec.viewportMode = get_u8(buf, 12);
    rec.wireless = get_u8(buf, 13) != 0;
    for (int i = 0; i < 4; ++i)
        rec.viewportAssignment[static_cast<std::size_t>(i)] = get_u8(buf, 14 + i);
    rec.stationAddress = get_u8(buf, 18);
    rec.grid = get_u8(buf, 19);
    rec.textSize = get_u8(buf, 20);
    rec.colourMode = get_u8(buf, 21);
    rec.thickPlotting = get_u8(buf, 22) != 0;
    rec.markDataPoints = get_u8(buf, 23) != 0;
    rec.gridInFront = get_u8(buf, 24) != 0;
    rec.phoneEntry = get_i32le(buf, 28);
    rec.lastRevision = static_cast<char>(get_u8(buf, 32));
    rec.resolutionType = get_u8(buf, 33);
    rec.lastSetupFile = getText(buf, 34, kSettingsPathWidth);
    rec.lastDataFile = getText(buf, 290, kSettingsPathWidth);
    rec.colourFile = getText(buf, 546, kSettingsPathWidth);
    rec.radioChannel = get_u8(buf, 802);
    rec.localModemEntry = get_i32le(buf, 804);
    rec.localModemInit = getText(buf, 808, kSettingsPathWidth);
    rec.remoteModemEntry = get_i32le(buf, 1064);
    rec.remoteModemInit = getText(buf, 1068, kSettingsPathWidth);
    rec.phoneNumber = getText(buf, 1324, kSettingsPhoneWidth);
    rec.exportDateFormat = get_u8(buf, 1579);
    rec.humidityQuantity = get_u8(buf, 1580);
    rec.reserved = get_u8(buf, 1581);
    rec.autoFileCounter = get_i32le(buf, 1584);
    rec.fastProtocol = get_u8(buf, 1588) != 0;
    rec.noHeader = get_u8(buf, 1589) != 0;
    rec.autoAnswer = get_u8(buf, 1590) != 0;
    rec.autoExport = get_u8(buf, 1591) != 0;
    rec.exportAveraging = get_i32le(buf, 1592);
    return rec;
}

QString SettingsFilePath(const QString& programDir)
{
    return QDir(programDir).filePath(QString::fromLatin1(kSettingsFileName));
}

SettingsRecord LoadSettings(const QString& programDir)
{
    // Only a regular file is read: a pipe or device under the name would block the start.
    const QString path = SettingsFilePath(programDir);
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Read no more than one record, whatever the file's size.
    const QByteArray bytes = file.read(kSettingsRecordSize);
    if (file.error() != QFileDevice::NoError)
        return {};
    return DeserializeSettings(bytes).value_or(SettingsRecord{});
}

bool SaveSettings(const QString& programDir, const SettingsRecord& rec)
{
    return WriteFileReplacing(SettingsFilePath(programDir), SerializeSettings(rec));
}

} // namespace tamble
