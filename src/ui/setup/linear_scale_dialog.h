#pragma once
// "New Linear Scale": the readings at the bottom (Lo) and the top (Hi) of the logger's 0-5 V
// input. The calculators it opens (current loop, linear transducer, adjust) fill both values;
// OK gives the channel the scale (code '3') and the entry "Linear: lo / hi".

#include "ui/setup/scaling_entry_dialog.h"

class QLineEdit;

namespace tamble {

class CurrentLoopDialog;
class LinearTransducerDialog;
class AdjustScaleDialog;

class LinearScaleDialog : public ScalingEntryDialog {
    Q_OBJECT
public:
    LinearScaleDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // The text entry 4 of the channel's scaling list holds ("Linear: lo / hi"), whose halves the
    // adjust dialog shows as the old scale. Used by the next opening only; without it the
    // channel's LinearValues in the record stand in.
    void setLinearEntry(const QString& entryText) { m_pendingLinearEntry = entryText; }

    CurrentLoopDialog& currentLoop() { return *m_currentLoop; }
    LinearTransducerDialog& linearTransducer() { return *m_linearTransducer; }
    AdjustScaleDialog& adjust() { return *m_adjust; }

protected:
    void prepare() override;
    void OKBtnClick() override;
    void helpBtnClick() override;

private:
    void adjustBtnClick();
    void takeResults(const QString& low, const QString& high);

    QLineEdit* m_lo = nullptr;
    QLineEdit* m_hi = nullptr;
    CurrentLoopDialog* m_currentLoop = nullptr;
    LinearTransducerDialog* m_linearTransducer = nullptr;
    AdjustScaleDialog* m_adjust = nullptr;
    QString m_pendingLinearEntry;
    QString m_linearEntry;
};

} // namespace tamble
