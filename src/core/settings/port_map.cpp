#include "settings/port_map.h"

#include "util/file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace tamble {

namespace {

QString PortKey(int number)
{
    return QStringLiteral("COM%1=").arg(number);
}

bool IsLineOf(const QString& line, const QString& key)
{
    return line.trimmed().startsWith(key, Qt::CaseInsensitive);
}

// "ttyUSB10" after "ttyUSB2": a trailing number compares as a number.
bool NaturalLess(const QString& a, const QString& b)
{
    auto split = [](const QString& s) {
        qsizetype i = s.size();
        while (i > 0 && s.at(i - 1).isDigit())
            --i;
        const QString digits = s.mid(i);
        return std::pair<QString, qlonglong>(s.left(i), digits.isEmpty() ? -1 : digits.toLongLong());
    };
    const auto [pa, na] = split(a);
    const auto [pb, nb] = split(b);
    if (pa != pb)
        return pa < pb;
    return na < nb;
}

} // namespace

QString ComEnvironmentName(int number)
{
    return QStringLiteral("TAMBLE_COM%1").arg(number);
}

QString PortsFileDevice(const QString& text, int number)
{
    const QString key = PortKey(number);
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(key, Qt::CaseInsensitive)) {
            const QString device = line.mid(key.size()).trimmed();
            if (!device.isEmpty())
                return device;
        }
    }
    return {};
}

ComDevice LookUpComDevice(int number, const QString& programDir)
{
    const QByteArray env = qgetenv(ComEnvironmentName(number).toLatin1().constData());
    if (!env.isEmpty())
        return {QString::fromLocal8Bit(env), ComSource::Environment};
    QFile ini(QDir(programDir).filePath(QString::fromLatin1(kPortsFileName)));
    if (ini.open(QIODevice::ReadOnly)) {
        const QString device = PortsFileDevice(QString::fromUtf8(ini.readAll()), number);
        if (!device.isEmpty())
            return {device, ComSource::PortsFile};
    }
    return {DefaultComDevice(number), ComSource::Default};
}

QString DefaultComDevice(int number) { return QStringLiteral("/dev/ttyS%1").arg(number - 1); }

QString ResolveComDevice(int number, const QString& programDir)
{
    return LookUpComDevice(number, programDir).path;
}

QString ComDeviceText(int number, const ComDevice& device, bool present)
{
    QString text = device.path;
    if (device.source == ComSource::PortsFile)
        text += QStringLiteral(" (ports.ini)");
    else if (device.source == ComSource::Environment)
        text += QStringLiteral(" ($%1)").arg(ComEnvironmentName(number));
    if (!present)
        text += QStringLiteral(", not present");
    return text;
}

QString CurrentComDeviceText(int number, const QString& programDir)
{
    const ComDevice device = LookUpComDevice(number, programDir);
    return ComDeviceText(number, device, QFileInfo::exists(device.path));
}

QString SetPortsFileEntry(const QString& text, int number, const QString& device)
{
    const QString key = PortKey(number);
    const QString eol = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                                                               : QStringLiteral("\n");
    const QString newLine = key + device;
    // Each piece keeps its own "\r" when the file has CR LF line ends.
    QStringList pieces = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    const bool endsWithBreak = !pieces.isEmpty() && pieces.last().isEmpty();
    if (endsWithBreak)
        pieces.removeLast();

    QStringList out;
    bool placed = false;
    for (const QString& piece : pieces) {
        if (!IsLineOf(piece, key)) {
            out << piece;
            continue;
        }
        if (!placed && !device.isEmpty())
            out << newLine + (piece.endsWith(QLatin1Char('\r')) ? QStringLiteral("\r") : QString());
        placed = true;
    }
    if (!placed && !device.isEmpty())
        out << newLine + (eol.size() == 2 ? QStringLiteral("\r") : QString());
    if (out.isEmpty())
        return {};
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Result<QString> WritePortMapping(const QString& programDir, int number, const QString& device)
{
    if (device.contains(QLatin1Char('\n')) || device.contains(QLatin1Char('\r'))
        || device.contains(QChar(0)))
        return Result<QString>::fail(QStringLiteral("A device name cannot hold a line break."));
    if (device != device.trimmed())
        return Result<QString>::fail(
            QStringLiteral("A device name cannot begin or end with a blank."));

    const QString path = QDir(programDir).filePath(QString::fromLatin1(kPortsFileName));
    QString text;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return Result<QString>::fail(path + QStringLiteral(": ") + old.errorString());
        text = QString::fromUtf8(old.readAll());
        old.close();
    }
    const QByteArray bytes = SetPortsFileEntry(text, number, device).toUtf8();
    QString why;
    if (!WriteFileReplacing(path, bytes, &why))
        return Result<QString>::fail(path + QStringLiteral(": ") + why);
    return Result<QString>::ok(path);
}

std::vector<SerialChoice> ListSerialChoices(const QString& byIdDir, const QStringList& enumerated)
{
    std::vector<SerialChoice> choices;
    QSet<QString> targets;
    const QFileInfoList links = QDir(byIdDir).entryInfoList(
        QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString target = link.canonicalFilePath();
        if (target.isEmpty())
            continue;   // a stale link: its device is gone
        choices.push_back({link.absoluteFilePath(), target, true});
        targets.insert(target);
    }

    QStringList others = enumerated;
    std::sort(others.begin(), others.end(), NaturalLess);
    for (const QString& device : others) {
        const QString target = QFileInfo(device).canonicalFilePath();
        if (target.isEmpty() || targets.contains(target))
            continue;
        choices.push_back({device, target, false});
        targets.insert(target);
    }
    return choices;
}

} // namespace tamble
