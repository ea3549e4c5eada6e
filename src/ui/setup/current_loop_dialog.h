#pragma once
// "Current Loop Scaling": the linear scale of a current loop that flows through a resistor across
// the logger's 0-5 V input. Starts with 4-20 mA, 249 ohms and readings 0-100, already calculated.

#include "ui/setup/scale_calculator_dialog.h"

namespace tamble {

class CurrentLoopDialog : public ScaleCalculatorDialog {
    Q_OBJECT
public:
    CurrentLoopDialog(MessageService& messages, HelpService& help, QWidget* parent = nullptr);

protected:
    CalculatorResult compute() const override;
    void helpBtnClick() override;
};

} // namespace tamble
