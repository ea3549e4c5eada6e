#pragma once
// The base of the dialogs that produce a scaling list entry for a channel (linear scale, contact
// closure, custom table): they open on a channel, report when they close, and show their refusals
// through the MessageService, staying open after them. Their number fields are kScaleValueWidth wide.

#include "setup/scaling_calculators.h"
#include "setup/scaling_dialog_rules.h"

#include <QDialog>

#include <optional>

class QLayout;

namespace tamble {

class MessageService;
class HelpService;

// A dialog that writes one channel's scaling. startFor() opens it without blocking (open());
// openFor() runs it modally (exec()) and tells whether OK was pressed. Either way
// scalingFinished() reports the end; after an accepted end entry() is the list entry the
// channel's scaling list takes at entry()->listIndex, and records.setup already holds the
// channel's new scaling. A cancelled end changes nothing in the record.
class ScalingEntryDialog : public QDialog {
    Q_OBJECT
public:
    void startFor(int channel);
    bool openFor(int channel);

    int channel() const { return m_channel; }
    const std::optional<ScalingEntry>& entry() const { return m_entry; }

signals:
    void scalingFinished(int channel, bool accepted);

protected:
    ScalingEntryDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent);

    // Fills the controls for m_channel before the dialog shows.
    virtual void prepare() = 0;
    // Shows a refusal, or stores the entry and closes with OK.
    bool finishWith(const ScalingOutcome& outcome);
    // The OK / Cancel / Help row.
    QLayout* buttonRow();
    virtual void OKBtnClick() = 0;
    virtual void helpBtnClick() = 0;

    ScalingRecords m_records;
    MessageService& m_messages;
    HelpService& m_help;
    int m_channel = 1;
    std::optional<ScalingEntry> m_entry;
};

} // namespace tamble
