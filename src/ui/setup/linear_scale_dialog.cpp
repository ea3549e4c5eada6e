#include "ui/setup/linear_scale_dialog.h"

#include "setup/scaling_dialog_rules.h"
#include "ui/link/link_widgets.h"
#include "ui/setup/adjust_scale_dialog.h"
#include "ui/setup/current_loop_dialog.h"
#include "ui/setup/linear_transducer_dialog.h"
#include "ui/setup/scaling_widgets.h"
#include "util/user_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

LinearScaleDialog::LinearScaleDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : ScalingEntryDialog(records, messages, help, parent)
{
    setObjectName(QStringLiteral("TLinscaleDlg"));
    setWindowTitle(QStringLiteral("New Linear Scale"));

    m_lo = ui::NumberField(this, QStringLiteral("LoVal_dlg"), kScaleValueWidth);
    m_hi = ui::NumberField(this, QStringLiteral("HiVal_dlg"), kScaleValueWidth);
    auto* values = new QFormLayout;
    values->addRow(ui::BuddyLabel(this, QStringLiteral("&Lo Value:"), m_lo), m_lo);
    values->addRow(ui::BuddyLabel(this, QStringLiteral("H&i Value:"), m_hi), m_hi);

    auto* calcGroup = new QGroupBox(QStringLiteral("Calculate"), this);
    calcGroup->setObjectName(QStringLiteral("CalcGroup"));
    calcGroup->setAccessibleName(QStringLiteral("Calculate"));
    QPushButton* cl = ui::Button(calcGroup, QStringLiteral("Current Loop"), QStringLiteral("CLBtn"));
    QPushButton* lt = ui::Button(calcGroup, QStringLiteral("Linear Transducer"), QStringLiteral("LTBtn"));
    QPushButton* adjust = ui::Button(calcGroup, QStringLiteral("Adjust Scale"), QStringLiteral("AdjustBtn"));
    auto* calcLayout = new QVBoxLayout(calcGroup);
    calcLayout->addWidget(cl);
    calcLayout->addWidget(lt);
    calcLayout->addWidget(adjust);

    auto* top = new QHBoxLayout;
    top->addLayout(values);
    top->addWidget(calcGroup);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(buttonRow());

    // The calculators live as long as this dialog and keep their fields between uses.
    m_currentLoop = new CurrentLoopDialog(messages, help, this);
    m_linearTransducer = new LinearTransducerDialog(messages, help, this);
    m_adjust = new AdjustScaleDialog(messages, help, this);
    for (ScaleCalculatorDialog* calc : {static_cast<ScaleCalculatorDialog*>(m_currentLoop),
                                        static_cast<ScaleCalculatorDialog*>(m_linearTransducer),
                                        static_cast<ScaleCalculatorDialog*>(m_adjust)}) {
        connect(calc, &QDialog::accepted, this, [this, calc] { takeResults(calc->lowValue(), calc->highValue()); });
    }
    connect(cl, &QPushButton::clicked, m_currentLoop, &QDialog::open);
    connect(lt, &QPushButton::clicked, m_linearTransducer, &QDialog::open);
    connect(adjust, &QPushButton::clicked, this, &LinearScaleDialog::adjustBtnClick);
}

void LinearScaleDialog::prepare()
{
    m_lo->clear();
    m_hi->clear();
    m_lo->setFocus();
    m_linearEntry = m_pendingLinearEntry.isEmpty() ? LinearEntryOfRecord(m_records.setup, m_channel)
                                                   : m_pendingLinearEntry;
    m_pendingLinearEntry.clear();
}

void LinearScaleDialog::adjustBtnClick()
{
    const std::optional<ScaleHalves> old = SplitLinearEntry(m_linearEntry);
    if (old)
        m_adjust->startWith(old->low, old->high);
    else
        m_adjust->startWith(QString(), QString());
}

void LinearScaleDialog::takeResults(const QString& low, const QString& high)
{
    m_lo->setText(low);
    m_hi->setText(high);
    m_lo->setFocus();
}

void LinearScaleDialog::OKBtnClick()
{
    const ScalingOutcome outcome = AcceptLinearScale(m_records.setup, m_channel, m_lo->text(), m_hi->text());
    if (!finishWith(outcome)) {
        QLineEdit* field = outcome.focus == ScaleField::High ? m_hi : m_lo;
        field->setFocus();
        field->selectAll();
    }
}

void LinearScaleDialog::helpBtnClick()
{
    m_help.showHelp(kLinearScaleHelpContext);
}

} // namespace tamble
