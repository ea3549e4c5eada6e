#pragma once
// "Current Loop Scaling": the linear scale of a current loop that flows through a resistor across
// the logger's 0-5 V input. Starts with 4-20 mA, 249 ohms and readings 0-100, already calculated.

#include "ui/setup/scaling_dialog_base.h"

namespace tamble {

class TCloop : public TScaleCalculator {
    Q_OBJECT
public:
    TCloop(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
