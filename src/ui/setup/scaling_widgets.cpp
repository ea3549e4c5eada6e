#include "ui/setup/scaling_widgets.h"

#include "util/user_dialog.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace tamble {

namespace ui {

QLineEdit* NumberField(QWidget* parent, const QString& name, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(" *[+-]?[0-9]*\\.?[0-9]*")), field));
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * (maxLength + 2) + 12);
    return field;
}

void ShowErrors(MessageService& messages, const QStringList& texts)
{
    for (const QString& text : texts) {
        UserMessage m;
        m.kind = DialogKind::Error;
        m.text = text;
        m.buttons = DialogButtons::Ok;
        messages.ask(m);
    }
}

} // namespace ui

} // namespace tamble
