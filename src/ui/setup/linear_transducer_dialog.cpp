#include "ui/setup/linear_transducer_dialog.h"

#include "util/user_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace tamble {

TLinTran::TLinTran(MessageService& messages, HelpService& help, QWidget* parent)
    : TScaleCalculator(messages, help, parent)
{
    setObjectName(QStringLiteral("TLinTran"));
    setWindowTitle(QStringLiteral("Linear Transducer Scaling"));
    const struct {
        const char* name;
        const char* caption;
        const char* start;
    } inputs[] = {
        {"LoMaField", "Minimum dc volts", "0"}, {"HiMaField", "Maximum dc volts", "5"},
        {"ZeroField", "Minimum Reading", "0"},  {"FSField", "Maximum Reading", "100"},
    };
    auto* form = new QFormLayout;
    for (const auto& in : inputs) {
        QLabel* label = nullptr;
        QLineEdit* field = addInput(QString::fromLatin1(in.name), QString::fromLatin1(in.caption), label);
        field->setText(QString::fromLatin1(in.start));
        form->addRow(label, field);
    }
    finishLayout(form, resultFields(QStringLiteral("Low Value"), QStringLiteral("High Value")));
    calculate();
}

CalculatorResult TLinTran::compute() const
{
    return CalculateLinearTransducer({m_inputs[kMinVoltsField]->text(), m_inputs[kMaxVoltsField]->text(),
                                      m_inputs[kMinReadingField]->text(), m_inputs[kMaxReadingField]->text()});
}

void TLinTran::helpBtnClick()
{
    m_help.showHelp(kLinearTransducerHelpContext);
}

} // namespace tamble
