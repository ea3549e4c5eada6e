#pragma once
// "Adjust Linear Scaling": a two-point correction of the channel's linear scale. The old scale is
// shown read-only; the user gives two readings the logger showed and the true values they stood
// for; the new scale maps the same input voltages onto the true values.

#include "ui/setup/scale_calculator_dialog.h"

namespace tamble {

class AdjustScaleDialog : public ScaleCalculatorDialog {
    Q_OBJECT
public:
    AdjustScaleDialog(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // Shows the old scale (the two 6-character halves of the "Linear: " entry) and opens.
    void startWith(const QString& oldLow, const QString& oldHigh);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
