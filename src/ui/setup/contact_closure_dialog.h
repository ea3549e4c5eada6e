#pragma once
// "Contact Closure values": the values a contact channel records for a closed and an open
// contact. OK gives the channel code 'X' (closed value as the low half, open as the high half)
// and the entry "Cls/opn: closed / open".

#include "ui/setup/scaling_entry_dialog.h"

class QLineEdit;

namespace tamble {

class ContactClosureDialog : public ScalingEntryDialog {
    Q_OBJECT
public:
    ContactClosureDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    void prepare() override;
    void OKBtnClick() override;
    void helpBtnClick() override;

private:
    QLineEdit* m_closed = nullptr;
    QLineEdit* m_open = nullptr;
};

} // namespace tamble
