#pragma once
// The .TL2 file of a multi-bank recording: a CSV export of all its banks in
// file order, written while the .TL1 file is loaded, and the re-export of such
// a file as ASCII or CSV with or without averaging.

#include "datafiles/export.h"
#include "datafiles/bank_file.h"

#include <QFile>
#include <QSaveFile>
#include <memory>
#include <optional>

namespace tamble {

// Writes the .TL2 file bank by bank: the first bank creates it with the
// export header, every later bank appends its lines, stamped on from the bank
// before (two intervals after its last line). The file replaces an older one
// of that name only when the last bank has been written.
class Tl2BankWriter : public BankSink {
public:
    explicit Tl2BankWriter(ExportSettings settings);
    ~Tl2BankWriter() override;

    bool writeBank(const DataSet& data, int bankIndex) override;
    void finish(const DataSet& data) override;

    bool ok() const { return m_ok; }
    const QString& message() const { return m_message; }
    qint64 lines() const { return m_lines; }

private:
    ExportSettings m_settings;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<TextOut> m_out;
    std::optional<ExportLineWriter> m_writer;
    bool m_ok = true;
    QString m_message;
    qint64 m_lines = 0;
};

struct ReexportResult {
    bool ok = false;
    QString message;        // "File: ... not found", "... is not a TL2 type file"
    qint64 lines = 0;
};

// The data lines of an export of a multi-bank recording, read from its .TL2
// file (data.dataFileName): all points copied (commas become blanks in a text
// export), or averages of N lines stamped like the last line of each group.
// A CSV export in another dialect rewrites the stamps (read in `dateOrder`)
// and the values in it.
ReexportResult ReexportFromBankFile(const DataSet& data, TextOut& out, bool csv, int averaging,
                                    const QString& programDir, const CsvDialect& dialect = {},
                                    ExportDateOrder dateOrder = ExportDateOrder::MonthFirst);

// Opens `name` for reading, or else the file of that name in `programDir`
// (which ends with a separator). The file's name is the one it opened.
bool OpenBankFile(QFile& file, const QString& name, const QString& programDir);

// Start of the first value of a .TL2 data line (0-based): after the stamp,
// and after its milliseconds field when the recording's lines carry one.
int FirstValuePosition(bool withMilliseconds);

// Splits the values of a .TL2 data line from `start`: with one channel the
// rest of the line; otherwise each value runs to the next comma, searched
// from the fifth character after its start; the last runs to the line's end.
// Returns how many values were read (at most `channels`).
int SplitBankLineValues(QByteArrayView line, int start, int channels, float* values);

} // namespace tamble
