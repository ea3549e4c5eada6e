#include "ui/archive/archive_window.h"

#include "platform/sql_archive.h"
#include "ui/graph/graph_window_owner.h"
#include "ui/archive/archive_settings_dialog.h"
#include "ui/common/button_row.h"
#include "util/dialog_buttons.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>
#include <algorithm>

namespace tamble {

namespace {

QTableWidget* NewTable(const QString& name, const QString& accessibleName)
{
    auto* table = new QTableWidget;
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setAccessibleName(accessibleName + QStringLiteral(" columns"));
    table->verticalHeader()->setAccessibleName(accessibleName + QStringLiteral(" rows"));
    for (QAbstractButton* corner : table->findChildren<QAbstractButton*>())
        corner->setAccessibleName(QStringLiteral("Select all"));
    return table;
}

// Numbers stand right, texts left, as a person reads a table.
void Fill(QTableWidget& table, const ArchiveTable& content)
{
    table.clearContents();
    table.setColumnCount(static_cast<int>(content.headings.size()));
    table.setHorizontalHeaderLabels(content.headings);
    table.setRowCount(static_cast<int>(content.rows.size()));
    for (int r = 0; r < static_cast<int>(content.rows.size()); ++r) {
        const QStringList& cells = content.rows[static_cast<std::size_t>(r)];
        const QString tip = r < static_cast<int>(content.tips.size()) ? content.tips[static_cast<std::size_t>(r)] : QString();
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (std::find(content.numberColumns.begin(), content.numberColumns.end(), c) != content.numberColumns.end())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!tip.isEmpty())
                item->setToolTip(tip);
            table.setItem(r, c, item);
        }
    }
    table.resizeColumnsToContents();
    // The last column takes the rest of the width again, after the columns took their contents'.
    table.horizontalHeader()->setStretchLastSection(false);
    table.horizontalHeader()->setStretchLastSection(true);
}

QDateTimeEdit* NewTimeEdit(const QString& name)
{
    auto* edit = new QDateTimeEdit;
    edit->setObjectName(name);
    edit->setTimeSpec(Qt::UTC);   // archive times are the logger's clock, without an offset
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    edit->setCalendarPopup(true);
    // No logger chosen: the period is 0, shown blank.
    edit->setMinimumDateTime(QDateTime::fromMSecsSinceEpoch(0, QTimeZone::utc()));
    edit->setSpecialValueText(QStringLiteral(" "));
    return edit;
}

QDateTime ShownTime(std::int64_t time)
{
    return QDateTime::fromMSecsSinceEpoch(time, QTimeZone::utc());
}

} // namespace

ArchiveWindow::ArchiveWindow(std::function<ArchiveOpener()> openArchive, const QString& programDir,
                             const QString& environment, MessageService& messages, QWidget* parent)
    : QDialog(parent), m_openArchive(std::move(openArchive)), m_model(messages)
{
    setObjectName(QStringLiteral("TArchive"));
    setWindowTitle(QStringLiteral("Archive"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildTables(), 1);
    layout->addWidget(buildPeriod());
    layout->addWidget(buildButtons());
    m_settings = new ArchiveSettingsDialog(programDir, environment, messages, this);
    connect(m_settings, &QDialog::accepted, this, &ArchiveWindow::refresh);
    resize(900, 560);
    showLoggers();
}

ArchiveWindow::~ArchiveWindow() = default;

QWidget* ArchiveWindow::buildTables()
{
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    m_loggers = NewTable(QStringLiteral("LoggerTable"), QStringLiteral("Loggers"));
    auto* loggersLabel = new QLabel(QStringLiteral("&Loggers"));
    loggersLabel->setBuddy(m_loggers);
    m_downloads = NewTable(QStringLiteral("DownloadTable"), QStringLiteral("Downloads of the chosen logger"));
    auto* downloadsLabel = new QLabel(QStringLiteral("&Downloads of the chosen logger"));
    downloadsLabel->setBuddy(m_downloads);
    m_openGraph = NewButton(nullptr, QStringLiteral("Open &Graph"), QStringLiteral("OpenGraphBtn"));
    m_openGraph->setToolTip(QStringLiteral("Open the chosen download's data file as a graph"));
    auto* graphRow = new QHBoxLayout;
    graphRow->addWidget(m_openGraph);
    graphRow->addStretch();
    v->addWidget(loggersLabel);
    v->addWidget(m_loggers, 2);
    v->addWidget(downloadsLabel);
    v->addWidget(m_downloads, 3);
    v->addLayout(graphRow);

    connect(m_loggers, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_showing)
            return;
        m_model.chooseLogger(row);
        showDownloads();
        showPeriod();
        showEnabled();
    });
    connect(m_downloads, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_showing)
            return;
        m_model.chooseDownload(row);
        showEnabled();
    });
    connect(m_downloads, &QTableWidget::cellDoubleClicked, this, [this] { m_openGraph->click(); });
    connect(m_openGraph, &QPushButton::clicked, this, [this] {
        if (const auto file = m_model.graphFile(); file && openGraph)
            openGraph(*file);
    });
    return box;
}

QWidget* ArchiveWindow::buildPeriod()
{
    auto* box = new QGroupBox(QStringLiteral("History of the chosen logger"));
    box->setObjectName(QStringLiteral("HistoryGroup"));
    auto* row = new QHBoxLayout(box);
    m_from = NewTimeEdit(QStringLiteral("FromEdit"));
    m_to = NewTimeEdit(QStringLiteral("ToEdit"));
    m_fromLabel = new QLabel(QStringLiteral("&From"));
    m_toLabel = new QLabel(QStringLiteral("&To"));
    m_fromLabel->setBuddy(m_from);
    m_toLabel->setBuddy(m_to);
    for (QLabel* label : {m_fromLabel, m_toLabel})
        label->setMinimumWidth(label->sizeHint().width() + 2);
    m_from->setAccessibleName(QStringLiteral("From"));
    m_to->setAccessibleName(QStringLiteral("To"));
    m_openHistory = NewButton(nullptr, QStringLiteral("Open &History"), QStringLiteral("OpenHistoryBtn"));
    m_openHistory->setToolTip(QStringLiteral("Open the logger's readings of the period as one graph"));
    row->addWidget(m_fromLabel);
    row->addWidget(m_from);
    row->addSpacing(12);
    row->addWidget(m_toLabel);
    row->addWidget(m_to);
    row->addSpacing(12);
    row->addWidget(m_openHistory);
    row->addStretch();

    connect(m_from, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& t) {
        if (!m_showing)
            m_model.setFrom(t.toMSecsSinceEpoch());
    });
    connect(m_to, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& t) {
        if (!m_showing)
            m_model.setTo(t.toMSecsSinceEpoch());
    });
    connect(m_openHistory, &QPushButton::clicked, this, [this] {
        if (const auto file = m_model.historyFile(); file && openHistory)
            openHistory(*file);
    });
    return box;
}

QWidget* ArchiveWindow::buildButtons()
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    QPushButton* refreshButton = NewButton(box, QStringLiteral("&Refresh"), QStringLiteral("RefreshBtn"));
    QPushButton* settingsButton = NewButton(box, QStringLiteral("&Settings..."), QStringLiteral("SettingsBtn"));
    QPushButton* closeButton = NewButton(box, QStringLiteral("&Close"), QStringLiteral("CloseBtn"));
    refreshButton->setAutoDefault(false);
    settingsButton->setAutoDefault(false);
    closeButton->setAutoDefault(false);
    row->addStretch();
    row->addWidget(refreshButton);
    row->addWidget(settingsButton);
    row->addWidget(closeButton);
    connect(refreshButton, &QPushButton::clicked, this, &ArchiveWindow::refresh);
    connect(settingsButton, &QPushButton::clicked, this, [this] { m_settings->openDialog(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    return box;
}

void ArchiveWindow::openWindow()
{
    show();
    raise();
    activateWindow();
    refresh();
}

void ArchiveWindow::refresh()
{
    m_model.refresh(m_openArchive ? m_openArchive() : ArchiveOpener{});
    showLoggers();
}

void ArchiveWindow::showLoggers()
{
    m_showing = true;
    Fill(*m_loggers, m_model.loggers());
    m_loggers->setCurrentCell(m_model.loggerRow(), 0);
    m_showing = false;
    showDownloads();
    showPeriod();
    showEnabled();
}

void ArchiveWindow::showDownloads()
{
    m_showing = true;
    Fill(*m_downloads, m_model.downloads());
    m_downloads->setCurrentCell(m_model.downloadRow(), 0);
    m_showing = false;
}

void ArchiveWindow::showPeriod()
{
    m_showing = true;
    m_from->setDateTime(ShownTime(m_model.from()));
    m_to->setDateTime(ShownTime(m_model.to()));
    m_showing = false;
}

void ArchiveWindow::showEnabled()
{
    m_openGraph->setEnabled(m_model.openGraphEnabled());
    m_openHistory->setEnabled(m_model.openHistoryEnabled());
    for (QWidget* w : {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_to), static_cast<QWidget*>(m_fromLabel),
                       static_cast<QWidget*>(m_toLabel)})
        w->setEnabled(m_model.periodEnabled());
}

ArchiveWindow* MakeArchiveWindow(const QString& programDir, MessageService& messages, GraphWindowOwner& graphs,
                                 QString& lastDataFile, QWidget* parent)
{
    auto* window = new ArchiveWindow([programDir] { return ArchiveOpenerFor(programDir); }, programDir,
                                     qEnvironmentVariable(kArchiveEnvironmentVariable), messages, parent);
    window->openGraph = [&graphs](const QString& file) { graphs.openFile(file); };
    window->openHistory = [&graphs, &lastDataFile](const QString& file) {
        const QString kept = lastDataFile;
        graphs.openFile(file);
        lastDataFile = kept;
    };
    return window;
}

} // namespace tamble
