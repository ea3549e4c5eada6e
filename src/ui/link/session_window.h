#pragma once
// The session window "Serial Link": the step under way, the wake-up meter, the block number and
// file of a download with its progress, and Abort. The engine drives it through the runner's
// window callbacks; it holds no rules of its own.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tamble {

class SessionWindow : public QDialog {
    Q_OBJECT
public:
    explicit SessionWindow(QWidget* parent = nullptr);

    void setStatusText(const QString& text);
    void setMeter(int percent);
    void setMeterVisible(bool visible);
    void setBlockCountVisible(bool visible);
    void setBlockCount(int blocks);
    void setFileText(const QString& text);
    void setAbortVisible(bool visible);
    void setAbortEnabled(bool enabled);
    // The blocks a download will read (0: not known) and the bytes of each.
    void setDownloadSize(int blocks, int blockBytes);

    QString statusText() const;
    int blockCount() const { return m_blocks; }

signals:
    void abortClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress();

    QLineEdit* m_status;
    QProgressBar* m_meter;
    QLabel* m_blockLabel;
    QLineEdit* m_blockField;
    QLineEdit* m_file;
    QProgressBar* m_download;
    QLabel* m_downloadText;
    QPushButton* m_abort;
    QElapsedTimer m_clock;
    int m_blocks = 0;
    int m_total = 0;
    int m_blockBytes = 0;
};

} // namespace tamble
