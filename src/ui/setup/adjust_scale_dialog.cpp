#include "ui/setup/adjust_scale_dialog.h"

#include "util/user_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

namespace tamble {

namespace {

QGroupBox* Group(QWidget* parent, const QString& title, const QString& name, QLayout* content)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setAccessibleName(title);
    group->setLayout(content);
    return group;
}

} // namespace

AdjustScaleDialog::AdjustScaleDialog(MessageService& messages, HelpService& help, QWidget* parent)
    : ScaleCalculatorDialog(messages, help, parent)
{
    setObjectName(QStringLiteral("TAdjust1"));
    setWindowTitle(QStringLiteral("Adjust Linear Scaling"));

    // Created in the order of the calculator's field indexes.
    const struct {
        const char* name;
        const char* caption;
    } inputs[] = {
        {"LoLoggerField", "logger"}, {"LoTrueField", "True value"}, {"HiLoggerField", "logger"},
        {"HiTrueField", "True value"}, {"OldLoValField", "Lo"},     {"OldHiValField", "Hi"},
    };
    std::array<QFormLayout*, 3> forms{new QFormLayout, new QFormLayout, new QFormLayout};
    for (int i = 0; i < 6; ++i) {
        QLabel* label = nullptr;
        QLineEdit* field = addInput(QString::fromLatin1(inputs[i].name), QString::fromLatin1(inputs[i].caption), label);
        if (i >= kOldLoField) {
            field->setReadOnly(true);
            field->setFocusPolicy(Qt::NoFocus);
        }
        forms[i / 2]->addRow(label, field);
    }
    auto* grid = new QGridLayout;
    grid->addWidget(Group(this, QStringLiteral("Low reading"), QStringLiteral("LowGroup"), forms[0]), 0, 0);
    grid->addWidget(Group(this, QStringLiteral("High reading"), QStringLiteral("HighGroup"), forms[1]), 0, 1);
    grid->addWidget(Group(this, QStringLiteral("Old Scaling"), QStringLiteral("OldGroup"), forms[2]), 1, 0);
    auto* note = new QLabel(QStringLiteral("Use High and Low readings that are far apart for best accuracy."), this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    note->setWordWrap(true);
    grid->addWidget(note, 1, 1);

    auto* results = new QHBoxLayout;
    results->addWidget(Group(this, QStringLiteral("New Scaling"), QStringLiteral("NewGroup"),
                             resultFields(QStringLiteral("Lo"), QStringLiteral("Hi"))));
    finishLayout(grid, results);
}

void AdjustScaleDialog::startWith(const QString& oldLow, const QString& oldHigh)
{
    m_inputs[kOldLoField]->setText(oldLow);
    m_inputs[kOldHiField]->setText(oldHigh);
    m_inputs[kLoLoggerField]->setFocus();
    open();
}

CalculatorResult AdjustScaleDialog::compute() const
{
    return CalculateAdjust({m_inputs[kLoLoggerField]->text(), m_inputs[kLoTrueField]->text(),
                            m_inputs[kHiLoggerField]->text(), m_inputs[kHiTrueField]->text(),
                            m_inputs[kOldLoField]->text(), m_inputs[kOldHiField]->text()});
}

void AdjustScaleDialog::helpBtnClick()
{
    m_help.showHelp(kAdjustScalingHelpContext);
}

} // namespace tamble
