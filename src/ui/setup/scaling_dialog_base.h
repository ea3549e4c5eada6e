#pragma once
// What the channel scaling dialogs share: the dialogs that produce a scaling list entry for a
// channel (linear scale, contact closure, custom table) open on a channel and report when they
// close; the calculators (current loop, linear transducer, adjust) compute a Low and a High
// Value. Both kinds show their refusals through the MessageService and stay open after them.

#include "setup/scaling_calculators.h"
#include "setup/scaling_dialog_rules.h"

#include <QDialog>

#include <optional>
#include <initializer_list>
#include <vector>

class QLineEdit;
class QLayout;
class QLabel;

namespace tamble {

struct AppRecords;
class MessageService;
class HelpService;

namespace ui {
// An entry field for a number: digits, sign, decimal point (leading blanks allowed, so a
// calculated " 0.000" fits), at most `maxLength` characters.
QLineEdit* NumberField(QWidget* parent, const QString& name, int maxLength);
// Each text as an error box with an OK button, in order.
void ShowErrors(MessageService& messages, const QStringList& texts);
} // namespace ui

// A dialog that writes one channel's scaling. startFor() opens it without blocking (open());
// openFor() runs it modally (exec()) and tells whether OK was pressed. Either way
// scalingFinished() reports the end; after an accepted end entry() is the list entry the
// channel's scaling list takes at entry()->listIndex, and records.setup already holds the
// channel's new scaling. A cancelled end changes nothing in the record.
class TScalingEntryDialog : public QDialog {
    Q_OBJECT
public:
    void startFor(int channel);
    bool openFor(int channel);

    int channel() const { return m_channel; }
    const std::optional<ScalingEntry>& entry() const { return m_entry; }

signals:
    void scalingFinished(int channel, bool accepted);

protected:
    TScalingEntryDialog(AppRecords& records, MessageService& messages, HelpService& help, QWidget* parent);

    // Fills the controls for m_channel before the dialog shows.
    virtual void prepare() = 0;
    // Shows a refusal, or stores the entry and closes with OK.
    bool finishWith(const ScalingOutcome& outcome);
    // The OK / Cancel / Help row.
    QLayout* buttonRow();
    virtual void OKBtnClick() = 0;
    virtual void helpBtnClick() = 0;

    AppRecords& m_records;
    MessageService& m_messages;
    HelpService& m_help;
    int m_channel = 1;
    std::optional<ScalingEntry> m_entry;
};

// A calculator: input fields, a "Calculate" button, the results Low Value / High Value, and
// OK (Calculate, then close when it worked) / Cancel / Help.
class TScaleCalculator : public QDialog {
    Q_OBJECT
public:
    // Calculates from the fields; shows the refusals and returns false when it did not work.
    bool calculate();
    QString lowValue() const;
    QString highValue() const;

protected:
    TScaleCalculator(MessageService& messages, HelpService& help, QWidget* parent);

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
