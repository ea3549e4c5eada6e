#include "ui/common/button_row.h"

#include "util/user_dialog.h"
#include "util/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tamble {

QPushButton* NewButton(QWidget* parent, const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(WithoutMnemonic(caption));
    return button;
}

QWidget* OkCancelHelpRow(QWidget* parent, HelpService& help, int helpContext, std::function<void()> ok,
                         std::function<void()> cancel)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton* okButton = NewButton(row, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    QPushButton* cancelButton = NewButton(row, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    QPushButton* helpButton = NewButton(row, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    okButton->setDefault(true);
    layout->addStretch();
    layout->addWidget(okButton);
    layout->addWidget(cancelButton);
    layout->addWidget(helpButton);
    QObject::connect(okButton, &QPushButton::clicked, row, std::move(ok));
    QObject::connect(cancelButton, &QPushButton::clicked, row, std::move(cancel));
    QObject::connect(helpButton, &QPushButton::clicked, row, [&help, helpContext] { help.showHelp(helpContext); });
    return row;
}

} // namespace tamble
