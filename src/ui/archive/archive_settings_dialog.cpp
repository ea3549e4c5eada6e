#include "ui/archive/archive_settings_dialog.h"

#include "ui/common/button_row.h"
#include "util/dialog_buttons.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

QLineEdit* NewField(const QString& name)
{
    auto* field = new QLineEdit;
    field->setObjectName(name);
    return field;
}

// A label with its mnemonic before `field`, which takes the label's text as its accessible name.
void AddRow(QFormLayout* form, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    field->setAccessibleName(WithoutMnemonic(caption));
    form->addRow(label, field);
}

QLabel* NewNote(const QString& name, const QString& text = {})
{
    auto* note = new QLabel(text);
    note->setObjectName(name);
    note->setWordWrap(true);
    note->setAccessibleName(text);
    return note;
}

} // namespace

ArchiveSettingsDialog::ArchiveSettingsDialog(const QString& programDir, const QString& environment,
                                             MessageService& messages, QWidget* parent)
    : QDialog(parent), m_rules(programDir, environment, messages)
{
    setObjectName(QStringLiteral("TArchiveSettings"));
    setWindowTitle(QStringLiteral("Archive Settings"));
    auto* layout = new QVBoxLayout(this);
    m_overrideNote = NewNote(QStringLiteral("OverrideNote"));
    m_overrideNote->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    layout->addWidget(m_overrideNote);
    layout->addWidget(buildEngine());
    layout->addWidget(buildServer());
    layout->addWidget(buildCalls());

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = NewButton(this, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    QPushButton* cancel = NewButton(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_rules.ok())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(460);
    showSettings();
}

QWidget* ArchiveSettingsDialog::buildEngine()
{
    auto* box = new QGroupBox(QStringLiteral("Keep every download in"));
    box->setObjectName(QStringLiteral("EngineGroup"));
    auto* v = new QVBoxLayout(box);
    m_engine = new QButtonGroup(this);
    const auto add = [&](ArchiveEngine engine, const QString& caption, const QString& name) {
        auto* b = new QRadioButton(caption);
        b->setObjectName(name);
        b->setAccessibleName(WithoutMnemonic(caption));
        m_engine->addButton(b, static_cast<int>(engine));
        v->addWidget(b);
    };
    add(ArchiveEngine::Sqlite, QStringLiteral("&SQLite in the program folder (archive.sqlite)"), QStringLiteral("SqliteBtn"));
    add(ArchiveEngine::Postgres, QStringLiteral("&PostgreSQL server"), QStringLiteral("PostgresBtn"));
    add(ArchiveEngine::Off, QStringLiteral("O&ff: no archive"), QStringLiteral("OffBtn"));
    connect(m_engine, &QButtonGroup::idClicked, this, [this](int id) {
        m_rules.setEngine(static_cast<ArchiveEngine>(id));
        showEnabled();
    });
    return box;
}

QWidget* ArchiveSettingsDialog::buildServer()
{
    auto* box = new QGroupBox(QStringLiteral("PostgreSQL server"));
    box->setObjectName(QStringLiteral("ServerGroup"));
    m_server = box;
    auto* form = new QFormLayout(box);
    m_host = NewField(QStringLiteral("HostEdit"));
    m_host->setPlaceholderText(QStringLiteral("localhost, a host name or a socket folder"));
    m_port = NewField(QStringLiteral("PortEdit"));
    m_port->setMaxLength(5);
    m_port->setMaximumWidth(90);
    m_database = NewField(QStringLiteral("DatabaseEdit"));
    m_user = NewField(QStringLiteral("UserEdit"));
    m_user->setPlaceholderText(QStringLiteral("the login name when empty"));
    AddRow(form, QStringLiteral("&Host"), m_host);
    AddRow(form, QStringLiteral("Po&rt"), m_port);
    AddRow(form, QStringLiteral("&Database"), m_database);
    AddRow(form, QStringLiteral("&User"), m_user);
    form->addRow(NewNote(QStringLiteral("PasswordNote"), QString::fromLatin1(kArchivePasswordNote)));
    connect(m_host, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setHost(t); });
    connect(m_port, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setPortText(t); });
    connect(m_database, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setDatabase(t); });
    connect(m_user, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setUser(t); });
    return box;
}

QWidget* ArchiveSettingsDialog::buildCalls()
{
    auto* box = new QGroupBox(QStringLiteral("After each call run"));
    box->setObjectName(QStringLiteral("CallsGroup"));
    auto* form = new QFormLayout(box);
    m_command = NewField(QStringLiteral("CommandEdit"));
    m_command->setPlaceholderText(QStringLiteral("nothing when empty"));
    m_command->setToolTip(QStringLiteral("A program run after every auto-answer call and unattended download, "
                                         "with the data file, the outcome and the logger"));
    m_timeLimit = NewField(QStringLiteral("TimeLimitEdit"));
    m_timeLimit->setMaxLength(6);
    m_timeLimit->setMaximumWidth(90);
    AddRow(form, QStringLiteral("&Command"), m_command);
    AddRow(form, QStringLiteral("Time &limit (seconds)"), m_timeLimit);
    connect(m_command, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setAfterEachCallRun(t); });
    connect(m_timeLimit, &QLineEdit::textEdited, this, [this](const QString& t) { m_rules.setTimeLimitText(t); });
    return box;
}

void ArchiveSettingsDialog::openDialog()
{
    m_rules.load();
    showSettings();
    open();
}

void ArchiveSettingsDialog::showSettings()
{
    const ArchiveSettings& s = m_rules.settings();
    if (QAbstractButton* b = m_engine->button(static_cast<int>(s.engine)))
        b->setChecked(true);
    m_host->setText(s.host);
    m_port->setText(m_rules.portText());
    m_database->setText(s.database);
    m_user->setText(s.user);
    m_command->setText(s.afterEachCallRun);
    m_timeLimit->setText(m_rules.timeLimitText());
    m_overrideNote->setText(m_rules.overrideNote());
    m_overrideNote->setAccessibleName(m_rules.overrideNote());
    m_overrideNote->setVisible(!m_rules.overrideNote().isEmpty());
    showEnabled();
}

void ArchiveSettingsDialog::showEnabled()
{
    m_server->setEnabled(m_rules.serverFieldsEnabled());
}

} // namespace tamble
