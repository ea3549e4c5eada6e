#pragma once
// The base of the scaling calculators (current loop, linear transducer, adjust): input fields, a
// "Calculate" button and the results Low Value / High Value. A calculation that does not work
// shows its refusals through the MessageService and focuses the field at fault; the dialog stays open.

#include "setup/scaling_calculators.h"
#include "setup/scaling_dialog_rules.h"

#include <QDialog>

#include <initializer_list>
#include <vector>

class QLineEdit;
class QLayout;
class QLabel;

namespace tamble {

class MessageService;
class HelpService;

// A calculator: input fields, a "Calculate" button, the results Low Value / High Value, and
// OK (Calculate, then close when it worked) / Cancel / Help.
class ScaleCalculatorDialog : public QDialog {
    Q_OBJECT
public:
    // Calculates from the fields; shows the refusals and returns false when it did not work.
    bool calculate();
    QString lowValue() const;
    QString highValue() const;

protected:
    ScaleCalculatorDialog(MessageService& messages, HelpService& help, QWidget* parent);

    virtual CalculatorResult compute() const = 0;
    virtual void helpBtnClick() = 0;
    // An input field with its label, listed so that a refusal can focus the field at its index.
    QLineEdit* addInput(const QString& name, const QString& caption, QLabel*& label);
    // The "Calculate" button, the results and the buttons under the given inputs.
    void finishLayout(QLayout* inputs, QLayout* results);
    // The two result fields (LoValField, HiValField) with labels.
    QLayout* resultFields(const QString& lowCaption, const QString& highCaption);
    struct InputSpec {
        const char* name;
        const char* caption;
        const char* start;   // the field's first value
    };
    // The inputs in a form over the "Low Value" and "High Value" results, then a first calculation.
    void buildForm(std::initializer_list<InputSpec> inputs);

    MessageService& m_messages;
    HelpService& m_help;
    std::vector<QLineEdit*> m_inputs;
    QLineEdit* m_low = nullptr;
    QLineEdit* m_high = nullptr;
};

} // namespace tamble
