#include "ui/setup/scale_calculator_dialog.h"

#include "ui/link/link_widgets.h"
#include "ui/setup/scaling_widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

ScaleCalculatorDialog::ScaleCalculatorDialog(MessageService& messages, HelpService& help, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_help(help)
{
    setModal(true);
}

QLineEdit* ScaleCalculatorDialog::addInput(const QString& name, const QString& caption, QLabel*& label)
{
    QLineEdit* field = ui::NumberField(this, name, 10);
    label = ui::BuddyLabel(this, caption, field);
    m_inputs.push_back(field);
    return field;
}

QLayout* ScaleCalculatorDialog::resultFields(const QString& lowCaption, const QString& highCaption)
{
    m_low = ui::ReadOnlyBox(this, QStringLiteral("LoValField"), ui::PlainCaption(lowCaption), kScaleValueWidth + 2);
    m_high = ui::ReadOnlyBox(this, QStringLiteral("HiValField"), ui::PlainCaption(highCaption), kScaleValueWidth + 2);
    auto* form = new QFormLayout;
    form->addRow(ui::BuddyLabel(this, lowCaption, m_low), m_low);
    form->addRow(ui::BuddyLabel(this, highCaption, m_high), m_high);
    return form;
}

void ScaleCalculatorDialog::buildForm(std::initializer_list<InputSpec> inputs)
{
    auto* form = new QFormLayout;
    for (const InputSpec& in : inputs) {
        QLabel* label = nullptr;
        QLineEdit* field = addInput(QString::fromLatin1(in.name), QString::fromLatin1(in.caption), label);
        field->setText(QString::fromLatin1(in.start));
        form->addRow(label, field);
    }
    finishLayout(form, resultFields(QStringLiteral("Low Value"), QStringLiteral("High Value")));
    calculate();
}

void ScaleCalculatorDialog::finishLayout(QLayout* inputs, QLayout* results)
{
    QPushButton* calc = ui::Button(this, QStringLiteral("&Calculate"), QStringLiteral("CalcBtn"));
    QPushButton* ok = ui::Button(this, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = ui::Button(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    QPushButton* help = ui::Button(this, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    connect(calc, &QPushButton::clicked, this, [this] { calculate(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (calculate())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { helpBtnClick(); });

    auto* middle = new QHBoxLayout;
    middle->addWidget(calc, 0, Qt::AlignVCenter);
    middle->addLayout(results);
    middle->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(inputs);
    outer->addLayout(middle);
    outer->addLayout(buttons);
}

bool ScaleCalculatorDialog::calculate()
{
    const CalculatorResult r = compute();
    if (!r.ok) {
        ui::ShowErrors(m_messages, r.messages);
        if (r.badField >= 0 && r.badField < static_cast<int>(m_inputs.size())) {
            m_inputs[r.badField]->setFocus();
            m_inputs[r.badField]->selectAll();
        }
        return false;
    }
    m_low->setText(r.low);
    m_high->setText(r.high);
    return true;
}

QString ScaleCalculatorDialog::lowValue() const
{
    return m_low->text();
}

QString ScaleCalculatorDialog::highValue() const
{
    return m_high->text();
}

} // namespace tamble
