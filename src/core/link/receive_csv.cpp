#include "link/receive_csv.h"

#include "link/status_text.h"

#include <QFile>

namespace tamble {

QChar ListSeparator(const QLocale& locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
}

QString ShortDateLongTime(const QDateTime& when, const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.timeFormat(QLocale::LongFormat);
    return locale.toString(when, format);
}

QString ReceiveCsvLine(const QString& dateTime, QChar separator, const LoggerInfo& info,
                       const std::array<QString, 4>& valueTexts)
{
    QString line = dateTime;
    for (int ch = 1; ch <= 4; ++ch) {
        if (info.channelOn(ch)) {
            line += separator;
            line += valueTexts[ch - 1];
        }
    }
    return line;
}

QString BuildReceiveCsvLine(const LoggerInfo& info, const ChannelScaling& scaling, bool fahrenheit,
                            int humidityQuantity, const QDateTime& now, const QLocale& locale)
{
    return ReceiveCsvLine(ShortDateLongTime(now, locale), ListSeparator(locale), info,
                          CurrentValueTexts(info, scaling, fahrenheit, humidityQuantity));
}

bool AppendReceiveCsvLine(const QString& path, const QString& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return ok;
}

QString ReceiveCsvDoneMessage(const QString& file)
{
    return QStringLiteral("Data written to ") + file;
}

} // namespace tamble
