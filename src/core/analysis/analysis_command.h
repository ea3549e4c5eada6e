#pragma once
// The command lines of the analysis for scripts:
//   --summary FILE... [--from T] [--to T] [--limit CH:LOW:HIGH]... [--format text|csv|json]
//   --report OUT.pdf FILE... [the same options]

#include "analysis/limits.h"
#include "analysis/summary.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

struct AnalysisCommand {
    bool report = false;
    QString reportPath;          // absolute
    QStringList files;           // absolute, in the order given
    std::optional<double> from;  // days
    std::optional<double> to;
    LimitSet limits;
    SummaryFormat format = SummaryFormat::Text;
    QString error;               // the command line is invalid: this message, exit status 2
};

// Relative names are taken from `currentDir`.
AnalysisCommand ParseAnalysisCommand(const QStringList& params, const QString& currentDir);

} // namespace tamble
