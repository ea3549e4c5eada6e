#pragma once
// The rules of the "Create ASCII File" dialog and of the "Export" choice
// before it, without widgets: the averaging choice, the header option, the
// CSV dialect, the save name and its checks, and what OK does.

#include "datafiles/csv_dialect.h"
#include "datafiles/dataset.h"
#include "datafiles/export.h"
#include "util/user_dialog.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace tamble {

inline constexpr int kAsciiDialogHelpContext = 12;
inline constexpr int kExportDialogHelpContext = 11;
inline constexpr int kOneAverage = 9999;

enum class AveragingChoice { AllPoints, OneAverage, AverageEvery };

// "File Type" of the export choice, first item first.
enum class ExportFileType { Ascii, Graphic };

struct SaveNameSpec {
    QString filter;        // "CSV File|*.CSV"
    QString defaultSuffix; // "CSV"
};

struct SaveNameCheck {
    QString path;          // the name to take; empty when refused
    QString warning;       // the message to show when refused
};

// The save dialog's filter and default extension for the layout.
SaveNameSpec AsciiSaveNameSpec(bool csv);
// A chosen name must end in the layout's extension (any letter case); a name
// without extension gets it.
SaveNameCheck CheckAsciiSaveName(const QString& chosen, bool csv);

class AsciiDialogModel {
public:
    // `averaging` and `noHeader` are the settings fields; `exportSettings`
    // gathers the rest of what the export needs when OK runs it. The CSV
    // dialect is read from `dialectFile` whenever the dialog comes up and
    // kept there by a CSV export that changed it; without a file it starts
    // at the default.
    AsciiDialogModel(DataSet& data, std::int32_t& averaging, bool& noHeader,
                     std::function<ExportSettings()> exportSettings, MessageService& messages,
                     std::optional<ExportDialectFile> dialectFile = std::nullopt);

    // Each time the dialog comes up.
    void shown();

    bool csv() const { return m_csv; }
    void setCsv(bool csv) { m_csv = csv; }

    // The dialect's choices, offered while the CSV type is chosen.
    const CsvDialect& dialect() const { return m_dialect; }
    bool dialectEnabled() const { return m_csv; }
    // A separator or decimal mark that would make both commas changes the
    // other choice; dialectNote() then says so until the next of these choices.
    void setSeparator(FieldSeparator separator);
    void setDecimalMark(DecimalMark mark);
    QString dialectNote() const { return m_dialectNote; }
    void setStampLayout(StampLayout stamp) { m_dialect.stamp = stamp; }
    bool spreadsheet() const { return m_dialect.header == HeaderLayout::Spreadsheet; }
    void setSpreadsheet(bool on) { m_dialect.header = on ? HeaderLayout::Spreadsheet : HeaderLayout::Full; }

    AveragingChoice averaging() const { return m_choice; }
    void setAveraging(AveragingChoice choice) { m_choice = choice; }
    bool everyFieldEnabled() const { return m_choice == AveragingChoice::AverageEvery; }
    int every() const { return m_every; }
    void setEvery(int n);
    // N for the export: 1, 9999, or the field's value.
    int averagingN() const;

    bool noHeader() const { return m_noHeader; }
    // Stored in the settings at once; the note is hidden while it is set,
    // and while the CSV spreadsheet layout, which has no note, is chosen.
    void setNoHeader(bool on);
    bool noteVisible() const { return !m_noHeader && !(m_csv && spreadsheet()); }

    QString note() const { return m_note; }
    void setNote(const QString& note) { m_note = note; }

    QString saveAs() const { return m_saveAs; }
    // The name the save dialog gave back (empty: cancelled). False when refused.
    bool chooseSaveName(const QString& chosen);

    // OK: true when the dialog closes.
    bool ok();

private:
    DataSet& m_data;
    std::int32_t& m_averagingSetting;
    bool& m_noHeaderSetting;
    std::function<ExportSettings()> m_exportSettings;
    MessageService& m_messages;
    std::optional<ExportDialectFile> m_dialectFile;
    CsvDialect m_dialect;
    CsvDialect m_kept;        // what the file holds
    QString m_dialectNote;
    bool m_csv = true;
    AveragingChoice m_choice = AveragingChoice::AllPoints;
    int m_every = 2;
    bool m_noHeader = false;
    QString m_note;
    QString m_saveAs;
};

} // namespace tamble
