#include "ui/graph/limits_dialog.h"

#include "util/user_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tamble {

namespace {

QString Limit(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 10) : QString();
}

} // namespace

LimitsDialog::LimitsDialog(MessageService& messages, QWidget* parent) : QDialog(parent), m_messages(messages)
{
    setObjectName(QStringLiteral("LimitsDialog"));
    setWindowTitle(QStringLiteral("Limits"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Low"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("High"), this), 0, 2);
    for (int c = 0; c < 4; ++c) {
        const auto i = static_cast<std::size_t>(c);
        auto* label = new QLabel(this);
        m_rowLabels[i] = label;
        m_low[i] = new QLineEdit(this);
        m_high[i] = new QLineEdit(this);
        m_low[i]->setObjectName(QStringLiteral("Low%1").arg(c + 1));
        m_high[i]->setObjectName(QStringLiteral("High%1").arg(c + 1));
        grid->addWidget(label, c + 1, 0);
        grid->addWidget(m_low[i], c + 1, 1);
        grid->addWidget(m_high[i], c + 1, 2);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LimitsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 5, 0, 1, 3);
}

void LimitsDialog::prepare(const std::array<QString, 4>& labels, const LimitSet& limits)
{
    m_labels = labels;
    for (std::size_t i = 0; i < 4; ++i) {
        const bool recorded = !labels[i].isEmpty();
        static_cast<QLabel*>(m_rowLabels[i])->setText(labels[i]);
        m_low[i]->setAccessibleName(labels[i] + QStringLiteral(" low limit"));
        m_high[i]->setAccessibleName(labels[i] + QStringLiteral(" high limit"));
        m_low[i]->setText(Limit(limits[i].low));
        m_high[i]->setText(Limit(limits[i].high));
        for (QWidget* w : {m_rowLabels[i], static_cast<QWidget*>(m_low[i]), static_cast<QWidget*>(m_high[i])})
            w->setVisible(recorded);
    }
}

void LimitsDialog::accept()
{
    std::array<QString, 4> low, high;
    for (std::size_t i = 0; i < 4; ++i) {
        low[i] = m_labels[i].isEmpty() ? QString() : m_low[i]->text();
        high[i] = m_labels[i].isEmpty() ? QString() : m_high[i]->text();
    }
    const LimitsEntry entry = LimitsFromTexts(low, high, m_labels);
    if (!entry.refusal.isEmpty()) {
        m_messages.ask({DialogKind::Warning, entry.refusal});
        return;
    }
    if (keep) {
        if (const QString error = keep(entry.limits); !error.isEmpty()) {
            m_messages.ask({DialogKind::Error, error});
            return;
        }
    }
    QDialog::accept();
}

} // namespace tamble
