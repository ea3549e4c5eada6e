#include "ui/setup/linear_transducer_dialog.h"

#include "util/user_dialog.h"

#include <QLineEdit>

namespace tamble {

LinearTransducerDialog::LinearTransducerDialog(MessageService& messages, HelpService& help, QWidget* parent)
    : ScaleCalculatorDialog(messages, help, parent)
{
    setObjectName(QStringLiteral("TLinTran"));
    setWindowTitle(QStringLiteral("Linear Transducer Scaling"));
    buildForm({
        {"LoMaField", "Minimum dc volts", "0"}, {"HiMaField", "Maximum dc volts", "5"},
        {"ZeroField", "Minimum Reading", "0"},  {"FSField", "Maximum Reading", "100"},
    });
}

CalculatorResult LinearTransducerDialog::compute() const
{
    return CalculateLinearTransducer({m_inputs[kMinVoltsField]->text(), m_inputs[kMaxVoltsField]->text(),
                                      m_inputs[kMinReadingField]->text(), m_inputs[kMaxReadingField]->text()});
}

void LinearTransducerDialog::helpBtnClick()
{
    m_help.showHelp(kLinearTransducerHelpContext);
}

} // namespace tamble
