#include "archive/call_hook.h"

#include <QDir>
#include <algorithm>

namespace tamble {

namespace {

QString Prefixed(const QString& text)
{
    return QString::fromLatin1(kCallHookLogPrefix) + text;
}

QString WithLine(QString text, const QString& firstLine)
{
    if (!firstLine.isEmpty())
        text += QStringLiteral(": ") + firstLine;
    return text;
}

} // namespace

CommandWords SplitCommandWords(const QString& text)
{
    enum class Quote { None, Single, Double };
    CommandWords out;
    QString word;
    bool inWord = false;   // quotes begin a word even when it stays empty
    Quote quote = Quote::None;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const bool hasNext = i + 1 < size;
        switch (quote) {
        case Quote::Single:
            if (c == QLatin1Char('\''))
                quote = Quote::None;
            else
                word += c;
            break;
        case Quote::Double:
            if (c == QLatin1Char('"'))
                quote = Quote::None;
            else if (c == QLatin1Char('\\') && hasNext && QStringView(u"\"\\$`").contains(text[i + 1]))
                word += text[++i];
            else
                word += c;
            break;
        case Quote::None:
            if (c.isSpace()) {
                if (inWord)
                    out.words << word;
                word.clear();
                inWord = false;
            } else {
                inWord = true;
                if (c == QLatin1Char('\''))
                    quote = Quote::Single;
                else if (c == QLatin1Char('"'))
                    quote = Quote::Double;
                else if (c == QLatin1Char('\\') && hasNext)
                    word += text[++i];
                else
                    word += c;
            }
            break;
        }
    }
    if (quote != Quote::None)
        return {{}, QStringLiteral("a quote is not closed")};
    if (inWord)
        out.words << word;
    return out;
}

CallHookPlan PlanCallHook(const ArchiveSettings& settings, const CallFacts& call, const QString& programDir)
{
    CallHookPlan plan;
    const CommandWords split = SplitCommandWords(settings.afterEachCallRun);
    if (!split.error.isEmpty()) {
        plan.error = CallHookUnreadableText(settings.afterEachCallRun, split.error);
        return plan;
    }
    if (split.words.isEmpty())
        return plan;
    if (split.words.first().isEmpty()) {
        plan.error = CallHookUnreadableText(settings.afterEachCallRun, QStringLiteral("no program named"));
        return plan;
    }
    CallHookCommand command;
    command.program = split.words.first();
    command.arguments = split.words.mid(1);
    command.arguments << (call.dataFile.isEmpty() ? QString()
                                                  : QDir::cleanPath(QDir(programDir).absoluteFilePath(call.dataFile)))
                      << call.outcome << call.logger.trimmed();
    command.workingDir = programDir;
    command.timeLimitSeconds = std::clamp(settings.hookTimeLimitSeconds, 1, kCallHookLongestLimitSeconds);
    plan.command = std::move(command);
    return plan;
}

void FirstLineCollector::feed(QByteArrayView bytes)
{
    if (m_complete)
        return;
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    if (m_bytes.isEmpty()) {
        // Blank lines before the first text are not the first line.
        const auto text = std::find_if_not(bytes.begin(), bytes.end(), isLineEnd);
        bytes = bytes.sliced(text - bytes.begin());
    }
    if (bytes.isEmpty())
        return;
    const auto end = std::find_if(bytes.begin(), bytes.end(), isLineEnd);
    qsizetype take = end - bytes.begin();
    m_complete = end != bytes.end();
    if (take >= kHeldBytes - m_bytes.size()) {
        take = kHeldBytes - m_bytes.size();
        m_complete = true;
    }
    m_bytes.append(bytes.first(take));
}

QString FirstLineCollector::line() const
{
    QString text = QString::fromLocal8Bit(m_bytes.left(kShownLength * 4));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    text = text.trimmed();
    if (text.size() > kShownLength)
        text = text.left(kShownLength) + QStringLiteral("...");
    return text;
}

QString CallHookExitText(int exitCode, const QString& firstLine)
{
    return Prefixed(WithLine(QStringLiteral("exit ") + QString::number(exitCode), firstLine));
}

QString CallHookStoppedText(int seconds)
{
    return Prefixed(QStringLiteral("stopped after ") + QString::number(seconds) + QStringLiteral(" s"));
}

QString CallHookCannotRunText(const QString& program, const QString& reason)
{
    return Prefixed(QStringLiteral("cannot run ") + program + QStringLiteral(": ") + reason);
}

QString CallHookCrashedText(const QString& firstLine)
{
    return Prefixed(WithLine(QStringLiteral("crashed"), firstLine));
}

QString CallHookUnreadableText(const QString& commandText, const QString& reason)
{
    return Prefixed(QStringLiteral("cannot read ") + commandText + QStringLiteral(": ") + reason);
}

} // namespace tamble
