#pragma once
// "Linear Transducer Scaling": the linear scale of a sensor whose output voltage goes straight to
// the input. Starts with 0-5 V and readings 0-100, already calculated.

#include "ui/setup/scale_calculator_dialog.h"

namespace tamble {

class LinearTransducerDialog : public ScaleCalculatorDialog {
    Q_OBJECT
public:
    LinearTransducerDialog(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
