#include "ui/link/com_test_dialog.h"

#include "link/logger_dialogs_model.h"
#include "link/session_engine.h"
#include "ui/link/link_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

ComTestDialog::ComTestDialog(SessionEngine& engine, MessageService& messages,
                             HelpService& /*help*/, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_messages(messages), m_test([this](bool on) { setEnabled(on); })
{
    setObjectName(QStringLiteral("TComTestDlg"));
    setWindowTitle(QStringLiteral("Test Communication Cable and Port"));
    m_test.install(engine);

    auto* outer = new QVBoxLayout(this);
    const char* const lines[] = {
        "1. Connect LC310 Cable to the com port",
        "selected in Settings.",
        "2. Short the tip to the middle band on the LC310",
        "Cable's plug (you can use a paper clip).",
        "3. Click the Test button.",
    };
    for (const char* line : lines)
        outer->addWidget(new QLabel(QLatin1String(line), this));

    QPushButton* test = ui::Button(this, QStringLiteral("&Test"), QStringLiteral("TestBtn"));
    test->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(test);
    outer->addLayout(buttons);
    connect(test, &QPushButton::clicked, this, &ComTestDialog::testBtnClick);
}

void ComTestDialog::testBtnClick()
{
    if (!ClearPortForProcedure(m_engine, m_messages))
        return;
    m_test.run(m_engine);
}

} // namespace tamble
