#include "ui/link/session_window.h"

#include "link/download_progress.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tamble {

namespace {

QLineEdit* ReadOnlyLine(const QString& name, const QString& accessible, QWidget* parent)
{
    auto* line = new QLineEdit(parent);
    line->setReadOnly(true);
    line->setObjectName(name);
    line->setAccessibleName(accessible);
    return line;
}

} // namespace

SessionWindow::SessionWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Serial Link"));
    setObjectName(QStringLiteral("TCommStatus"));
    setModal(false);
    auto* grid = new QGridLayout(this);

    m_status = ReadOnlyLine(QStringLiteral("StatusBox"), QStringLiteral("Status"), this);
    m_status->setMinimumWidth(360);
    grid->addWidget(m_status, 0, 0, 1, 3);

    m_meter = new QProgressBar(this);
    m_meter->setObjectName(QStringLiteral("ComMeter"));
    m_meter->setAccessibleName(QStringLiteral("Wake-up progress"));
    m_meter->setRange(0, 100);
    m_meter->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #e8d000; }"));
    grid->addWidget(m_meter, 1, 0, 1, 3);

    m_blockLabel = new QLabel(QStringLiteral("Block Number"), this);
    m_blockLabel->setObjectName(QStringLiteral("BlockCountLabel"));
    m_blockField = ReadOnlyLine(QStringLiteral("BlockCountField"), QStringLiteral("Block Number"), this);
    m_blockLabel->setBuddy(m_blockField);
    grid->addWidget(m_blockLabel, 2, 0);
    grid->addWidget(m_blockField, 2, 1);

    m_download = new QProgressBar(this);
    m_download->setObjectName(QStringLiteral("DownloadProgress"));
    m_download->setAccessibleName(QStringLiteral("Download progress"));
    m_download->setRange(0, 100);
    m_downloadText = new QLabel(this);
    m_downloadText->setObjectName(QStringLiteral("DownloadProgressText"));
    m_downloadText->setAccessibleName(QStringLiteral("Download progress text"));
    grid->addWidget(m_download, 3, 0, 1, 3);
    grid->addWidget(m_downloadText, 4, 0, 1, 3);

    m_file = ReadOnlyLine(QStringLiteral("udaFile"), QStringLiteral("Data file"), this);
    grid->addWidget(m_file, 5, 0, 1, 3);

    m_abort = new QPushButton(QStringLiteral("&Abort"), this);
    m_abort->setObjectName(QStringLiteral("AbortBtn"));
    m_abort->setAccessibleName(QStringLiteral("Abort"));
    m_abort->setAutoDefault(false);
    m_abort->hide();
    grid->addWidget(m_abort, 6, 2);
    connect(m_abort, &QPushButton::clicked, this, &SessionWindow::abortClicked);

    setBlockCountVisible(false);
}

void SessionWindow::setStatusText(const QString& text) { m_status->setText(text); }
QString SessionWindow::statusText() const { return m_status->text(); }
void SessionWindow::setMeter(int percent) { m_meter->setValue(percent); }
void SessionWindow::setMeterVisible(bool visible) { m_meter->setVisible(visible); }

void SessionWindow::setBlockCountVisible(bool visible)
{
    m_blockLabel->setVisible(visible);
    m_blockField->setVisible(visible);
    m_download->setVisible(visible && m_total > 0);
    m_downloadText->setVisible(visible && m_total > 0);
    if (visible) {
        m_total = 0;
        m_clock.restart();
    }
}

void SessionWindow::setBlockCount(int blocks)
{
    m_blocks = blocks;
    m_blockField->setText(QString::number(blocks));
    showProgress();
}

void SessionWindow::setDownloadSize(int blocks, int blockBytes)
{
    m_total = blocks;
    m_blockBytes = blockBytes;
    m_clock.restart();
    const bool shown = blocks > 0 && m_blockField->isVisibleTo(this);
    m_download->setVisible(shown);
    m_downloadText->setVisible(shown);
    showProgress();
}

void SessionWindow::showProgress()
{
    if (m_total <= 0)
        return;
    const DownloadProgress p = ProgressOf(m_blocks, m_total, m_blockBytes, m_clock.elapsed());
    m_download->setValue(p.percent);
    m_downloadText->setText(ProgressText(m_blocks, m_total, p));
}

void SessionWindow::setFileText(const QString& text) { m_file->setText(text); }
void SessionWindow::setAbortVisible(bool visible) { m_abort->setVisible(visible); }
void SessionWindow::setAbortEnabled(bool enabled) { m_abort->setEnabled(enabled); }

void SessionWindow::closeEvent(QCloseEvent* event)
{
    // The session decides when the window goes; closing it is asking to abort.
    event->ignore();
    if (m_abort->isVisible() && m_abort->isEnabled())
        emit abortClicked();
}

} // namespace tamble
