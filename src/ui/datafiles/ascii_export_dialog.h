#pragma once
// "Create ASCII File": layout, averaging, CSV format, header option, note and
// the target name of an export of the current recording. The rules are
// AsciiDialogModel's; this class binds the controls.

#include "datafiles/ascii_dialog_model.h"
#include "program/export_wiring.h"
#include "util/user_dialog.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tamble {

class AsciiExportDialog : public QDialog {
    Q_OBJECT
public:
    AsciiExportDialog(const ExportRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // The save dialog (empty result: cancelled); tests replace it.
    std::function<QString(const SaveNameSpec& spec)> chooseSaveFile;

    AsciiDialogModel& model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildType();
    QWidget* buildData();
    QWidget* buildDialect();
    QWidget* buildHeader();
    QWidget* buildButtons();
    void showChoices();
    void showDialect();

    void saveAsClick();
    void OKBtnClick();

    ExportRecords m_records;
    HelpService& m_help;
    AsciiDialogModel m_model;
    QButtonGroup* m_type = nullptr;
    QButtonGroup* m_data = nullptr;
    QSpinBox* m_every = nullptr;
    QGroupBox* m_dialectBox = nullptr;
    QComboBox* m_separator = nullptr;
    QComboBox* m_decimal = nullptr;
    QComboBox* m_stamp = nullptr;
    QCheckBox* m_spreadsheet = nullptr;
    QLabel* m_dialectNote = nullptr;
    QCheckBox* m_noHeader = nullptr;
    QLabel* m_noteLabel = nullptr;
    QLineEdit* m_note = nullptr;
    QLineEdit* m_saveAs = nullptr;
};

} // namespace tamble
