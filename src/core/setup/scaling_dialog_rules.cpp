#include "setup/scaling_dialog_rules.h"

#include "setup/setup_window_lists.h"

#include "setup/scaling_calculators.h"
#include "setup/setup_record.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tamble {

namespace {

const QString kLinearPrefix = QStringLiteral("Linear: ");
const QString kSeparator = QStringLiteral(" / ");

struct TwoValues {
    QString low;
    QString high;
};

// Normalises both texts and makes the checks both two-value dialogs share.
std::optional<TwoValues> CheckTwoValues(const QString& lowText, const QString& highText, const QString& lowName,
                                        const QString& highName, ScalingOutcome& outcome)
{
    TwoValues values{NormaliseScaleValue(lowText), NormaliseScaleValue(highText)};
    const std::optional<double> low = ParseFieldNumber(values.low);
    const std::optional<double> high = ParseFieldNumber(values.high);
    if (!low || !high) {
        outcome.messages << NotANumberMessage(low ? highName : lowName);
        outcome.focus = low ? ScaleField::High : ScaleField::Low;
        return std::nullopt;
    }
    outcome.focus = ScaleField::Low;
    if (*low == 0.0 && *high == 0.0) {
        outcome.messages << QStringLiteral("One value must be non-zero");
        return std::nullopt;
    }
    if (*low == *high) {
        outcome.messages << QStringLiteral("Values must be different");
        return std::nullopt;
    }
    return values;
}

bool PrintableAsciiWithoutBlank(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            return false;
    }
    return true;
}

} // namespace

ScalingDialogKind DialogForScalingIndex(int listIndex)
{
    switch (listIndex) {
    case kNewLinearScalingIndex: return ScalingDialogKind::LinearScale;
    case kCustomTableScalingIndex: return ScalingDialogKind::CustomTable;
    case kNewContactScalingIndex: return ScalingDialogKind::ContactClosure;
    default: return ScalingDialogKind::None;
    }
}

QString LinearEntryText(const QString& low, const QString& high)
{
    return LinearEntryText(low.leftJustified(kScaleValueWidth, QLatin1Char(' '), true) + high);
}

QString ContactEntryText(const QString& closed, const QString& open)
{
    return ContactEntryText(closed.leftJustified(kScaleValueWidth, QLatin1Char(' '), true) + open);
}


std::optional<ScaleHalves> SplitLinearEntry(const QString& entryText)
{
    if (!entryText.startsWith(kLinearPrefix))
        return std::nullopt;
    const QString rest = entryText.mid(kLinearPrefix.size());
    if (rest.size() != 2 * kScaleValueWidth + kSeparator.size() || rest.mid(kScaleValueWidth, kSeparator.size()) != kSeparator)
        return std::nullopt;
    return ScaleHalves{rest.left(kScaleValueWidth), rest.right(kScaleValueWidth)};
}

QString LinearEntryOfRecord(const SetupRecord& setup, int channel)
{
    const QString values = QString::fromLatin1(PadWithSpaces(setup.linearValues(channel), 2 * kScaleValueWidth));
    return LinearEntryText(values.left(kScaleValueWidth), values.mid(kScaleValueWidth, kScaleValueWidth));
}

ScalingOutcome AcceptLinearScale(SetupRecord& setup, int channel, const QString& lowText, const QString& highText)
{
    ScalingOutcome outcome;
    const auto values = CheckTwoValues(lowText, highText, QStringLiteral("Lo Value"), QStringLiteral("Hi Value"), outcome);
    if (!values)
        return outcome;
    setup.setScalingCode(channel, '3');
    setup.setLinearValues(channel, (values->low + values->high).toLatin1());
    outcome.entry = ScalingEntry{kLinearScalingIndex, LinearEntryText(values->low, values->high)};
    return outcome;
}

ScalingOutcome AcceptContactClosure(SetupRecord& setup, int channel, const QString& closedText, const QString& openText)
{
    ScalingOutcome outcome;
    const auto values = CheckTwoValues(closedText, openText, QStringLiteral("Closed"), QStringLiteral("Open"), outcome);
    if (!values)
        return outcome;
    setup.setScalingCode(channel, 'X');
    setup.setLinearValues(channel, (values->low + values->high).toLatin1());
    outcome.entry = ScalingEntry{kContactScalingIndex, ContactEntryText(values->low, values->high)};
    return outcome;
}

std::optional<QString> TableFileRefusal(const QString& fileName)
{
    if (fileName.isEmpty())
        return QStringLiteral("Select a table file");
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    const QString base = fileName.left(dot);
    const bool usable = dot >= 1 && dot <= kTableNameWidth && PrintableAsciiWithoutBlank(base)
                        && fileName.mid(dot).compare(QStringLiteral(".rvt"), Qt::CaseInsensitive) == 0;
    if (usable)
        return std::nullopt;
    return QStringLiteral("The table '") + fileName
           + QStringLiteral("' cannot be used: a table name has 1 to 8 characters without blanks or '.',"
                            " followed by .RVT");
}

ScalingOutcome AcceptTableFile(SetupRecord& setup, int channel, const QString& fileName)
{
    ScalingOutcome outcome;
    if (const auto refusal = TableFileRefusal(fileName)) {
        outcome.messages << *refusal;
        return outcome;
    }
    setup.setScalingCode(channel, '1');
    setup.setTableName(channel, fileName.left(fileName.indexOf(QLatin1Char('.'))).toLatin1());
    outcome.entry = ScalingEntry{kTableScalingIndex, TableEntryText(fileName)};
    return outcome;
}

TableFolder TableFolderFor(const QString& programDir)
{
    const QString path = programDir.isEmpty() ? QDir::currentPath() : programDir;
    return {path, QDir::toNativeSeparators(QDir::cleanPath(path))};
}

QStringList TableFilesIn(const QString& directory)
{
    const QDir folder(directory.isEmpty() ? QStringLiteral(".") : directory);
    QStringList tables;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files | QDir::Readable)) {
        if (info.fileName().endsWith(QStringLiteral(".rvt"), Qt::CaseInsensitive))
            tables << info.fileName();
    }
    std::sort(tables.begin(), tables.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return tables;
}

} // namespace tamble
