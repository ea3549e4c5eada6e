#pragma once
// "Adjust Linear Scaling": a two-point correction of the channel's linear scale. The old scale is
// shown read-only; the user gives two readings the logger showed and the true values they stood
// for; the new scale maps the same input voltages onto the true values.

#include "ui/setup/scaling_dialog_base.h"

namespace tamble {

class TAdjust1 : public TScaleCalculator {
    Q_OBJECT
public:
    TAdjust1(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // Shows the old scale (the two 6-character halves of the "Linear: " entry) and opens.
    void startWith(const QString& oldLow, const QString& oldHigh);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
