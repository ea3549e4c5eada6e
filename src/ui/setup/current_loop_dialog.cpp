#include "ui/setup/current_loop_dialog.h"

#include "util/user_dialog.h"

#include <QLineEdit>

namespace tamble {

CurrentLoopDialog::CurrentLoopDialog(MessageService& messages, HelpService& help, QWidget* parent)
    : ScaleCalculatorDialog(messages, help, parent)
{
    setObjectName(QStringLiteral("TCloop"));
    setWindowTitle(QStringLiteral("Current Loop Scaling"));
    buildForm({
        {"LoMaField", "Low Milliamps", "4"},  {"HiMaField", "High Milliamps", "20"},
        {"OhmsField", "Resistor Ohms", "249"}, {"ZeroField", "Low Reading", "0"},
        {"FSField", "High Reading", "100"},
    });
}

CalculatorResult CurrentLoopDialog::compute() const
{
    return CalculateCurrentLoop({m_inputs[kLoMaField]->text(), m_inputs[kHiMaField]->text(),
                                 m_inputs[kOhmsField]->text(), m_inputs[kCloopZeroField]->text(),
                                 m_inputs[kCloopFSField]->text()});
}

void CurrentLoopDialog::helpBtnClick()
{
    m_help.showHelp(kCurrentLoopHelpContext);
}

} // namespace tamble
