#pragma once
// "Custom Table": picks a scaling table file ("*.RVT") from the program directory. The table is
// looked up there by name whenever readings are converted, so the dialog lists that directory
// only. OK gives the channel code '1', the name up to its first "." as TableName, and the entry
// "Table: (file name)".

#include "ui/setup/scaling_entry_dialog.h"

class QLineEdit;
class QListWidget;

namespace tamble {

class SelectTableDialog : public ScalingEntryDialog {
    Q_OBJECT
public:
    SelectTableDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    void prepare() override;
    void OKBtnClick() override;
    void helpBtnClick() override;

private:
    void fileChosen();

    QLineEdit* m_dir = nullptr;
    QListWidget* m_files = nullptr;
    QLineEdit* m_name = nullptr;
};

} // namespace tamble
