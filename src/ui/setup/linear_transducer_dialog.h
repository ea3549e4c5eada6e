#pragma once
// "Linear Transducer Scaling": the linear scale of a sensor whose output voltage goes straight to
// the input. Starts with 0-5 V and readings 0-100, already calculated.

#include "ui/setup/scaling_dialog_base.h"

namespace tamble {

class TLinTran : public TScaleCalculator {
    Q_OBJECT
public:
    TLinTran(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
