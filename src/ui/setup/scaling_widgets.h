#pragma once
// Small helpers the scaling dialogs and calculators share.

#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;

namespace tamble {

class MessageService;

namespace ui {
// An entry field for a number: digits, sign, decimal point (leading blanks allowed, so a
// calculated " 0.000" fits), at most `maxLength` characters.
QLineEdit* NumberField(QWidget* parent, const QString& name, int maxLength);
// Each text as an error box with an OK button, in order.
void ShowErrors(MessageService& messages, const QStringList& texts);
} // namespace ui

} // namespace tamble
