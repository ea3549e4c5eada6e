#include "ui/graph/viewports_dialog.h"

#include "ui/common/button_row.h"

#include "util/user_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& name, const QString& accessible)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setAutoRaise(false);
    return button;
}

} // namespace

ViewportsDialog::ViewportsDialog(SettingsRecord& settings, ChannelVisibility& visibility, MessageService& messages,
                                 HelpService& help, QWidget* parent)
    : QDialog(parent), m_rules(settings, visibility, messages), m_help(help)
{
    setObjectName(QStringLiteral("TViewPortsDlg"));
    setWindowTitle(QStringLiteral("Set Viewports"));

    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("CountLabel"));
    m_countLabel->setMinimumWidth(m_countLabel->fontMetrics().horizontalAdvance(QStringLiteral("4 Viewports ")));
    m_channels = new QListWidget(this);
    m_channels->setObjectName(QStringLiteral("ChannelList"));
    m_channels->setAccessibleName(QStringLiteral("Viewports"));
    m_channels->setSelectionMode(QAbstractItemView::NoSelection);
    m_channels->setFont(QFont(QStringLiteral("Monospace")));
    m_channels->setMinimumWidth(m_channels->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('-'))));
    m_hidden = new QListWidget(this);
    m_hidden->setObjectName(QStringLiteral("HiddenList"));
    m_hidden->setAccessibleName(QStringLiteral("Hidden channels"));
    m_hidden->setSelectionMode(QAbstractItemView::NoSelection);
    m_hidden->setMaximumHeight(80);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(m_countLabel);
    countRow->addWidget(buildSpinner(QStringLiteral("CountSpin"), QStringLiteral("Number of viewports"),
                                     &ViewportsDialogRules::countUp, &ViewportsDialogRules::countDown));
    countRow->addStretch();

    m_spin1 = buildSpinner(QStringLiteral("Spin1"), QStringLiteral("Boundary 1"), &ViewportsDialogRules::spinner1Up,
                           &ViewportsDialogRules::spinner1Down);
    m_spin2 = buildSpinner(QStringLiteral("Spin2"), QStringLiteral("Boundary 2"), &ViewportsDialogRules::spinner2Up,
                           &ViewportsDialogRules::spinner2Down);
    auto* spinners = new QVBoxLayout;
    spinners->addWidget(m_spin1);
    spinners->addStretch();
    spinners->addWidget(m_spin2);
    spinners->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_channels, 1);
    listRow->addLayout(spinners);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(countRow);
    layout->addLayout(listRow);
    layout->addWidget(buildHideRow());
    layout->addWidget(m_hidden);
    layout->addWidget(buildButtons());
}

// A spinner: an up and a down arrow; each click runs its rule and refreshes.
QWidget* ViewportsDialog::buildSpinner(const QString& name, const QString& accessible,
                                       void (ViewportsDialogRules::*up)(), void (ViewportsDialogRules::*down)())
{
    auto* box = new QWidget(this);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QToolButton* upButton = ArrowButton(box, Qt::UpArrow, name + QStringLiteral("Up"), accessible + QStringLiteral(" up"));
    QToolButton* downButton =
        ArrowButton(box, Qt::DownArrow, name + QStringLiteral("Down"), accessible + QStringLiteral(" down"));
    column->addWidget(upButton);
    column->addWidget(downButton);
    connect(upButton, &QToolButton::clicked, this, [this, up] {
        (m_rules.*up)();
        refresh();
    });
    connect(downButton, &QToolButton::clicked, this, [this, down] {
        (m_rules.*down)();
        refresh();
    });
    return box;
}

QWidget* ViewportsDialog::buildHideRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_hideLabel = new QLabel(QStringLiteral("Hide"), row);
    m_hideLabel->setObjectName(QStringLiteral("HideLabel"));
    layout->addWidget(m_hideLabel);
    for (int p = 0; p < 4; ++p) {
        auto* box = new QCheckBox(QString::number(p + 1), row);
        box->setObjectName(QStringLiteral("Hide%1").arg(p + 1));
        box->setAccessibleName(QStringLiteral("Hide %1").arg(p + 1));
        connect(box, &QCheckBox::clicked, this, [this, p](bool checked) {
            m_rules.setHidden(p, checked);
            refresh();
        });
        m_hide[static_cast<std::size_t>(p)] = box;
        layout->addWidget(box);
    }
    layout->addStretch();
    m_viewAll = NewButton(row, QStringLiteral("View all"), QStringLiteral("ViewAllBtn"));
    connect(m_viewAll, &QPushButton::clicked, this, [this] {
        m_rules.viewAll();
        refresh();
    });
    layout->addWidget(m_viewAll);
    return row;
}

QWidget* ViewportsDialog::buildButtons()
{
    return OkCancelHelpRow(this, m_help, kViewportsHelpContext, [this] { accept(); }, [this] { reject(); });
}

void ViewportsDialog::prepare(const std::array<int, 4>& channelList, const std::array<QByteArray, 4>& labelsByChannel,
                              bool realTime)
{
    m_rules.prepare(channelList, labelsByChannel, realTime);
}

void ViewportsDialog::showEvent(QShowEvent* event)
{
    m_rules.show();
    refresh();
    QDialog::showEvent(event);
}

void ViewportsDialog::refresh()
{
    const ViewportsDialogView& view = m_rules.view();
    m_countLabel->setText(view.countLabel);
    m_countLabel->setAccessibleName(view.countLabel);
    m_channels->clear();
    m_channels->addItems(view.channelLines);
    m_hidden->clear();
    m_hidden->addItems(view.hiddenLines);
    m_spin1->setVisible(view.spinner1);
    m_spin2->setVisible(view.spinner2);
    for (std::size_t p = 0; p < 4; ++p) {
        m_hide[p]->setVisible(view.hideBoxShown[p]);
        m_hide[p]->setChecked(view.hideBoxChecked[p]);
    }
    m_hideLabel->setVisible(view.hiddenSectionShown);
    m_hidden->setVisible(view.hiddenSectionShown);
    m_viewAll->setVisible(view.hiddenSectionShown);
}

} // namespace tamble
