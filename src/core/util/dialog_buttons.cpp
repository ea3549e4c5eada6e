#include "util/dialog_buttons.h"

namespace tamble {

namespace {

MessageButton answerButton(const char* caption, DialogAnswer answer, bool escape = false)
{
    return {QString::fromLatin1(caption), answer, false, escape};
}

MessageButton helpButton()
{
    return {QStringLiteral("&Help"), DialogAnswer::Ok, true, false};
}

} // namespace

std::vector<MessageButton> MessageButtons(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::Ok:
        return {answerButton("OK", DialogAnswer::Ok, true)};
    case DialogButtons::OkHelp:
        return {answerButton("OK", DialogAnswer::Ok, true), helpButton()};
    case DialogButtons::OkCancel:
        return {answerButton("OK", DialogAnswer::Ok), answerButton("Cancel", DialogAnswer::Cancel, true)};
    case DialogButtons::YesNo:
        return {answerButton("&Yes", DialogAnswer::Yes), answerButton("&No", DialogAnswer::No, true)};
    case DialogButtons::OkRetryHelp:
        return {answerButton("OK", DialogAnswer::Ok, true), answerButton("&Retry", DialogAnswer::Retry),
                helpButton()};
    case DialogButtons::YesNoCancel:
        return {answerButton("&Yes", DialogAnswer::Yes), answerButton("&No", DialogAnswer::No),
                answerButton("Cancel", DialogAnswer::Cancel, true)};
    }
    return {answerButton("OK", DialogAnswer::Ok, true)};
}

int DefaultButtonIndex(const UserMessage& message)
{
    const std::vector<MessageButton> buttons = MessageButtons(message.buttons);
    int first = -1;
    int safe = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const MessageButton& b = buttons[i];
        if (b.help)
            continue;
        if (first < 0)
            first = static_cast<int>(i);
        if (safe < 0 && b.answer != DialogAnswer::Ok && b.answer != DialogAnswer::Yes)
            safe = static_cast<int>(i);
    }
    return message.destructive && safe >= 0 ? safe : first;
}

QString DialogTitle(const UserMessage& message)
{
    if (!message.caption.isEmpty())
        return message.caption;
    switch (message.kind) {
    case DialogKind::Information: return QStringLiteral("Information");
    case DialogKind::Warning: return QStringLiteral("Warning");
    case DialogKind::Error: return QStringLiteral("Error");
    case DialogKind::Confirmation: return QStringLiteral("Confirm");
    }
    return QStringLiteral("Tamble Logger");
}

QString WithoutMnemonic(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += caption.at(i);
    }
    return out;
}

} // namespace tamble
