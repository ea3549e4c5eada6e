#include "analysis/analysis_command.h"

#include <QDir>

namespace tamble {

AnalysisCommand ParseAnalysisCommand(const QStringList& params, const QString& currentDir)
{
    AnalysisCommand c;
    const QDir here(currentDir);
    auto absolute = [&here](const QString& name) { return QDir::cleanPath(here.absoluteFilePath(name)); };
    c.report = params.value(0) == QLatin1String("--report");
    int i = 1;
    if (c.report) {
        if (params.value(1).isEmpty() || params.value(1).startsWith(QLatin1String("--"))) {
            c.error = QStringLiteral("--report needs the name of the PDF file to write");
            return c;
        }
        c.reportPath = absolute(params.value(1));
        i = 2;
    }
    for (; i < params.size(); ++i) {
        const QString& p = params[i];
        const bool hasValue = i + 1 < params.size();
        if (p == QLatin1String("--from") || p == QLatin1String("--to")) {
            const std::optional<double> t = hasValue ? ParseIsoTime(params[i + 1]) : std::nullopt;
            if (!t) {
                c.error = p + QStringLiteral(" needs a time such as 2024-03-04T08:00:00: ") + params.value(i + 1);
                return c;
            }
            (p == QLatin1String("--from") ? c.from : c.to) = t;
            ++i;
        } else if (p == QLatin1String("--limit")) {
            const LimitArgument limit = ParseLimitArgument(params.value(i + 1));
            if (!limit.refusal.isEmpty()) {
                c.error = limit.refusal;
                return c;
            }
            c.limits[static_cast<std::size_t>(limit.channel - 1)] = limit.limits;
            ++i;
        } else if (p == QLatin1String("--format")) {
            const auto format = SummaryFormatNamed(params.value(i + 1));
            if (!format) {
                c.error = QStringLiteral("--format takes text, csv or json: ") + params.value(i + 1);
                return c;
            }
            c.format = *format;
            ++i;
        } else if (p.startsWith(QLatin1String("--"))) {
            c.error = QStringLiteral("Unknown option ") + p;
            return c;
        } else {
            c.files << absolute(p);
        }
    }
    if (c.files.isEmpty())
        c.error = QStringLiteral("No data file named");
    else if (c.from && c.to && *c.from > *c.to)
        c.error = QStringLiteral("--from is after --to");
    return c;
}

} // namespace tamble
