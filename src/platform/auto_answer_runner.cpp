#include "platform/auto_answer_runner.h"

#include "platform/session_runner.h"

#include <QFileInfo>
#include <utility>

namespace tamble {

AutoAnswerRunner::AutoAnswerRunner(SessionRunner& runner, AppRecords& records, std::function<void()> saveSettings)
    : m_runner(runner), m_saveSettings(std::move(saveSettings)), m_port(records.programDir),
      m_auto(runner.engine(), *this, records.setup, m_savedCopy, records.programDir)
{
    m_port.onReadyRead = [this] { m_auto.onAaReadable(); };
    m_second.setInterval(1000);
    QObject::connect(&m_second, &QTimer::timeout, &m_runner, [this] { m_auto.onSecond(); });
    m_resend.setInterval(1000);
    QObject::connect(&m_resend, &QTimer::timeout, &m_runner, [this] { m_auto.onResendSecond(); });
}

void AutoAnswerRunner::after(int ticks, std::function<void()> then)
{
    m_runner.after(ticks, std::move(then));
}

void AutoAnswerRunner::setAaText(const QString& text, bool visible)
{
    if (showText)
        showText(text, visible);
}

bool AutoAnswerRunner::fileExists(const QString& path)
{
    return QFileInfo::exists(path);
}

void AutoAnswerRunner::saveSettings()
{
    if (m_saveSettings)
        m_saveSettings();
}

} // namespace tamble
