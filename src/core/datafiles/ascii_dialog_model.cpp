#include "datafiles/ascii_dialog_model.h"

#include "util/file_write.h"

#include <algorithm>

namespace tamble {

SaveNameSpec AsciiSaveNameSpec(bool csv)
{
    if (csv)
        return {QStringLiteral("CSV File|*.CSV"), QStringLiteral("CSV")};
    return {QStringLiteral("Text File|*.TXT"), QStringLiteral("TXT")};
}

SaveNameCheck CheckAsciiSaveName(const QString& chosen, bool csv)
{
    if (chosen.isEmpty())
        return {};
    const QString ext = AsciiSaveNameSpec(csv).defaultSuffix;
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        return {chosen + QLatin1Char('.') + ext, {}};
    if (chosen.mid(dot + 1).compare(ext, Qt::CaseInsensitive) == 0)
        return {chosen, {}};
    return {{}, QStringLiteral("File name must end in '.") + ext + QLatin1Char('\'')};
}

AsciiDialogModel::AsciiDialogModel(DataSet& data, std::int32_t& averaging, bool& noHeader,
                                   std::function<ExportSettings()> exportSettings, MessageService& messages,
                                   std::optional<ExportDialectFile> dialectFile)
    : m_data(data), m_averagingSetting(averaging), m_noHeaderSetting(noHeader),
      m_exportSettings(std::move(exportSettings)), m_messages(messages), m_dialectFile(std::move(dialectFile)),
      m_noHeader(noHeader)
{
    if (m_dialectFile)
        m_dialect = m_kept = m_dialectFile->load();
    const int n = averaging == 0 ? 1 : averaging;
    if (n == 1) {
        m_choice = AveragingChoice::AllPoints;
    } else if (n == kOneAverage) {
        m_choice = AveragingChoice::OneAverage;
    } else {
        m_choice = AveragingChoice::AverageEvery;
        setEvery(n);
    }
}

void AsciiDialogModel::shown()
{
    m_saveAs.clear();
    m_dialectNote.clear();
    if (m_dialectFile)
        m_dialect = m_kept = m_dialectFile->load();
}

void AsciiDialogModel::setSeparator(FieldSeparator separator)
{
    const DialectChoice choice = WithSeparator(m_dialect, separator);
    m_dialect = choice.dialect;
    m_dialectNote = choice.note;
}

void AsciiDialogModel::setDecimalMark(DecimalMark mark)
{
    const DialectChoice choice = WithDecimalMark(m_dialect, mark);
    m_dialect = choice.dialect;
    m_dialectNote = choice.note;
}

void AsciiDialogModel::setEvery(int n)
{
    m_every = std::clamp(n, 2, kOneAverage);
}

int AsciiDialogModel::averagingN() const
{
    switch (m_choice) {
    case AveragingChoice::AllPoints: return 1;
    case AveragingChoice::OneAverage: return kOneAverage;
    case AveragingChoice::AverageEvery: return m_every;
    }
    return 1;
}

void AsciiDialogModel::setNoHeader(bool on)
{
    m_noHeader = on;
    m_noHeaderSetting = on;
}

bool AsciiDialogModel::chooseSaveName(const QString& chosen)
{
    const SaveNameCheck check = CheckAsciiSaveName(chosen, m_csv);
    if (!check.warning.isEmpty()) {
        Tell(m_messages, DialogKind::Warning, check.warning);
        return false;
    }
    if (check.path.isEmpty())
        return false;
    m_saveAs = check.path;
    return true;
}

bool AsciiDialogModel::ok()
{
    if (m_saveAs.isEmpty()) {
        Tell(m_messages, DialogKind::Information, QStringLiteral("Please enter a file name in 'Save as'"));
        return false;
    }
    // A name taken for one layout does not carry the other layout's data.
    const SaveNameCheck check = CheckAsciiSaveName(m_saveAs, m_csv);
    if (!check.warning.isEmpty()) {
        Tell(m_messages, DialogKind::Warning, check.warning);
        return false;
    }
    m_averagingSetting = averagingN();
    m_noHeaderSetting = m_noHeader;
    ExportSettings settings = m_exportSettings ? m_exportSettings() : ExportSettings{};
    settings.noHeader = m_noHeader;
    ExportRequest request;
    request.path = m_saveAs;
    request.note = m_noHeader ? QByteArray() : m_note.toLatin1();
    request.csv = m_csv;
    request.averaging = averagingN();
    request.dialect = m_csv ? m_dialect : CsvDialect{};
    const ExportResult result = ExportData(m_data, request, settings);
    if (!result.ok) {
        Tell(m_messages, DialogKind::Error,
             result.message.isEmpty() ? UnableToWriteText(m_saveAs) : result.message);
        return false;
    }
    // The file is written only once the choice differs from what it holds.
    if (m_csv && m_dialectFile && m_dialect != m_kept) {
        const QString error = m_dialectFile->save(m_dialect);
        if (error.isEmpty())
            m_kept = m_dialect;
        else
            Tell(m_messages, DialogKind::Warning, error);
    }
    Tell(m_messages, DialogKind::Information, m_saveAs + QStringLiteral(" saved to disk"));
    return true;
}

} // namespace tamble
