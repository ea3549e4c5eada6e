#pragma once
// "Export": the choice between an ASCII export of the recording and a
// graphic export of the chart, the first item chosen each time it opens.

#include "datafiles/ascii_dialog_model.h"
#include "program/export_wiring.h"
#include "util/user_dialog.h"

#include <QDialog>

#include <functional>
#include <memory>

class QButtonGroup;

namespace tamble {

class AsciiExportDialog;

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    ExportDialog(const ExportRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);
    ~ExportDialog() override;

    // The chart's graphic export (the graph window's part).
    std::function<void()> exportGraphic;

    AsciiExportDialog& asciiDialog() { return *m_ascii; }
    ExportFileType fileType() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKBtnClick();

    HelpService& m_help;
    QButtonGroup* m_fileType = nullptr;
    AsciiExportDialog* m_ascii = nullptr;
    std::unique_ptr<AsciiExportDialog> m_ownedAscii; // when there is no parent window to own it
};

} // namespace tamble
