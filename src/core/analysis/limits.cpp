#include "analysis/limits.h"

#include "util/file_write.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>

namespace tamble {

QString LimitsRefusal(const ChannelLimits& limits)
{
    if ((limits.low && !std::isfinite(*limits.low)) || (limits.high && !std::isfinite(*limits.high)))
        return QStringLiteral("A limit must be a number");
    if (limits.low && limits.high && *limits.low >= *limits.high)
        return QStringLiteral("The low limit must be below the high limit");
    return {};
}

LimitEntry ParseLimitText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return {std::nullopt, false};
    return {v, true};
}

LimitsEntry LimitsFromTexts(const std::array<QString, 4>& low, const std::array<QString, 4>& high,
                            const std::array<QString, 4>& labels)
{
    LimitsEntry e;
    for (std::size_t c = 0; c < 4; ++c) {
        const LimitEntry l = ParseLimitText(low[c]);
        const LimitEntry h = ParseLimitText(high[c]);
        QString refusal = !l.ok || !h.ok ? QStringLiteral("A limit must be a number") : QString();
        if (refusal.isEmpty())
            refusal = LimitsRefusal({l.value, h.value});
        if (!refusal.isEmpty()) {
            e.refusal = refusal + QStringLiteral(": ") + labels[c];
            return e;
        }
        e.limits[c] = {l.value, h.value};
    }
    return e;
}

LimitArgument ParseLimitArgument(const QString& text)
{
    LimitArgument a;
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok = false;
    a.channel = parts.value(0).toInt(&ok);
    if (parts.size() != 3 || !ok || a.channel < 1 || a.channel > 4) {
        a.refusal = QStringLiteral("--limit takes CH:LOW:HIGH with a channel 1-4: ") + text;
        return a;
    }
    const LimitEntry low = ParseLimitText(parts[1]);
    const LimitEntry high = ParseLimitText(parts[2]);
    if (!low.ok || !high.ok) {
        a.refusal = QStringLiteral("A limit must be a number: ") + text;
        return a;
    }
    a.limits = {low.value, high.value};
    if (const QString refusal = LimitsRefusal(a.limits); !refusal.isEmpty())
        a.refusal = refusal + QStringLiteral(": ") + text;
    return a;
}

QString LimitsFileName(const QString& dataFile)
{
    const QFileInfo info(dataFile);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".limits");
}

LimitsLoad LoadLimits(const QString& dataFile)
{
    LimitsLoad out;
    QFile file(LimitsFileName(dataFile));
    if (!file.exists())
        return out;
    const QString damaged = QStringLiteral("The limits file ") + file.fileName() +
                            QStringLiteral(" cannot be read; its limits are ignored");
    if (!file.open(QIODevice::ReadOnly)) {
        out.message = damaged;
        return out;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(64 * 1024), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject() || !doc.object().value(QLatin1String("channels")).isObject()) {
        out.message = damaged;
        return out;
    }
    const QJsonObject channels = doc.object().value(QLatin1String("channels")).toObject();
    LimitSet read;
    for (auto it = channels.begin(); it != channels.end(); ++it) {
        bool ok = false;
        const int channel = it.key().toInt(&ok);
        if (!ok || channel < 1 || channel > 4 || !it.value().isObject()) {
            out.message = damaged;
            return out;
        }
        const QJsonObject entry = it.value().toObject();
        ChannelLimits& limits = read[static_cast<std::size_t>(channel - 1)];
        for (const auto& [key, slot] : {std::pair{"low", &limits.low}, std::pair{"high", &limits.high}}) {
            const QJsonValue v = entry.value(QLatin1String(key));
            if (v.isUndefined() || v.isNull())
                continue;
            if (!v.isDouble()) {
                out.message = damaged;
                return out;
            }
            *slot = v.toDouble();
        }
        if (!LimitsRefusal(limits).isEmpty()) {
            out.message = damaged;
            return out;
        }
    }
    out.limits = read;
    return out;
}

QString SaveLimits(const QString& dataFile, const LimitSet& limits)
{
    const QString name = LimitsFileName(dataFile);
    QJsonObject channels;
    for (int c = 0; c < 4; ++c) {
        const ChannelLimits& l = limits[static_cast<std::size_t>(c)];
        if (!l.any())
            continue;
        QJsonObject entry;
        if (l.low)
            entry.insert(QLatin1String("low"), *l.low);
        if (l.high)
            entry.insert(QLatin1String("high"), *l.high);
        channels.insert(QString::number(c + 1), entry);
    }
    if (channels.isEmpty()) {
        if (QFile::exists(name) && !QFile::remove(name))
            return QStringLiteral("Unable to remove ") + name;
        return {};
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return UnableToWriteText(name);
    file.write(QJsonDocument(QJsonObject{{QLatin1String("channels"), channels}}).toJson());
    if (!file.commit())
        return UnableToWriteText(name);
    return {};
}

} // namespace tamble
