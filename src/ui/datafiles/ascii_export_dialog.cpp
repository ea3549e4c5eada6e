#include "ui/datafiles/ascii_export_dialog.h"

#include "program/export_wiring.h"
#include "util/dialog_buttons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tamble {

namespace {

QRadioButton* addRadio(QButtonGroup* group, QLayout* layout, int id, const QString& caption, const char* name)
{
    auto* b = new QRadioButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(caption);
    group->addButton(b, id);
    layout->addWidget(b);
    return b;
}

QLabel* buddyLabel(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text);
    label->setBuddy(field);
    field->setAccessibleName(WithoutMnemonic(text));
    return label;
}

} // namespace

AsciiExportDialog::AsciiExportDialog(const ExportRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : QDialog(parent), m_records(records), m_help(help),
      m_model(records.dataSet, records.settings.exportAveraging, records.settings.noHeader,
              [this] { return ExportSettingsFrom(m_records.settings, m_records.programDir); }, messages,
              ExportDialectFile(records.programDir))
{
    setObjectName(QStringLiteral("TAsciiDlg"));
    setWindowTitle(QStringLiteral("Create ASCII File"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildType());
    top->addWidget(buildData());
    layout->addLayout(top);
    layout->addWidget(buildDialect());
    layout->addWidget(buildHeader());
    layout->addWidget(buildButtons());

    chooseSaveFile = [this](const SaveNameSpec& spec) {
        QFileDialog dialog(this, QStringLiteral("Save as"), m_records.programDir,
                           spec.filter.section(QLatin1Char('|'), 0, 0) + QStringLiteral(" (") +
                               spec.filter.section(QLatin1Char('|'), 1, 1) + QStringLiteral(")"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(spec.defaultSuffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    showChoices();
}

QWidget* AsciiExportDialog::buildType()
{
    auto* box = new QGroupBox(QStringLiteral("Type"));
    box->setObjectName(QStringLiteral("RG_Type"));
    auto* v = new QVBoxLayout(box);
    m_type = new QButtonGroup(this);
    addRadio(m_type, v, 0, QStringLiteral("Tabular Values"), "TabularBtn");
    addRadio(m_type, v, 1, QStringLiteral("Comma Separated Values"), "CsvBtn");
    connect(m_type, &QButtonGroup::idClicked, this, [this](int id) {
        m_model.setCsv(id == 1);
        showDialect();
    });
    return box;
}

QWidget* AsciiExportDialog::buildData()
{
    auto* box = new QGroupBox(QStringLiteral("Data"));
    box->setObjectName(QStringLiteral("DataGroup"));
    auto* v = new QVBoxLayout(box);
    m_data = new QButtonGroup(this);
    addRadio(m_data, v, static_cast<int>(AveragingChoice::AllPoints), QStringLiteral("All Points"), "AllPoints");
    addRadio(m_data, v, static_cast<int>(AveragingChoice::OneAverage),
             QStringLiteral("Single Averaged Value / channel"), "OneAvg");
    auto* row = new QHBoxLayout;
    addRadio(m_data, row, static_cast<int>(AveragingChoice::AverageEvery), QStringLiteral("Average every"), "AvgNbr");
    m_every = new QSpinBox;
    m_every->setObjectName(QStringLiteral("AscField"));
    m_every->setRange(2, kOneAverage);
    row->addWidget(m_every);
    row->addWidget(buddyLabel(QStringLiteral("points / channel"), m_every));
    v->addLayout(row);
    connect(m_data, &QButtonGroup::idClicked, this, [this](int id) {
        m_model.setAveraging(static_cast<AveragingChoice>(id));
        m_every->setEnabled(m_model.everyFieldEnabled());
    });
    connect(m_every, &QSpinBox::valueChanged, this, [this](int n) { m_model.setEvery(n); });
    return box;
}

QWidget* AsciiExportDialog::buildDialect()
{
    m_dialectBox = new QGroupBox(QStringLiteral("CSV Format"));
    m_dialectBox->setObjectName(QStringLiteral("DialectGroup"));
    auto* grid = new QGridLayout(m_dialectBox);
    auto addCombo = [&](int row, const QString& caption, const char* name, const QStringList& items) {
        auto* box = new QComboBox;
        box->setObjectName(QString::fromLatin1(name));
        box->addItems(items);
        grid->addWidget(buddyLabel(caption, box), row, 0);
        grid->addWidget(box, row, 1);
        return box;
    };
    // Items in the order of the enumerations.
    m_separator = addCombo(0, QStringLiteral("Field separator"), "SeparatorBox",
                           {QStringLiteral("Comma"), QStringLiteral("Semicolon"), QStringLiteral("Tab")});
    m_decimal = addCombo(1, QStringLiteral("Decimal mark"), "DecimalBox",
                         {QStringLiteral("Point"), QStringLiteral("Comma")});
    m_stamp = addCombo(2, QStringLiteral("Time stamp"), "StampBox",
                       {QStringLiteral("Date and time"), QStringLiteral("ISO 8601 (2024-03-04T08:00:00)")});
    m_spreadsheet = new QCheckBox(QStringLiteral("Spreadsheet layout"));
    m_spreadsheet->setObjectName(QStringLiteral("SpreadsheetBox"));
    m_spreadsheet->setAccessibleName(QStringLiteral("Spreadsheet layout"));
    m_spreadsheet->setToolTip(QStringLiteral("One row of channel labels and units, without the header lines"));
    grid->addWidget(m_spreadsheet, 3, 0, 1, 2);
    m_dialectNote = new QLabel;
    m_dialectNote->setObjectName(QStringLiteral("DialectNote"));
    m_dialectNote->setWordWrap(true);
    grid->addWidget(m_dialectNote, 4, 0, 1, 2);

    // activated: only the user's choices, not the ones showDialect() makes.
    connect(m_separator, &QComboBox::activated, this, [this](int i) {
        m_model.setSeparator(static_cast<FieldSeparator>(i));
        showDialect();
    });
    connect(m_decimal, &QComboBox::activated, this, [this](int i) {
        m_model.setDecimalMark(static_cast<DecimalMark>(i));
        showDialect();
    });
    connect(m_stamp, &QComboBox::activated, this,
            [this](int i) { m_model.setStampLayout(static_cast<StampLayout>(i)); });
    connect(m_spreadsheet, &QCheckBox::clicked, this, [this](bool on) {
        m_model.setSpreadsheet(on);
        showDialect();
    });
    return m_dialectBox;
}

QWidget* AsciiExportDialog::buildHeader()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    m_noHeader = new QCheckBox(QStringLiteral("No Header"));
    m_noHeader->setObjectName(QStringLiteral("NoHeader"));
    m_noHeader->setAccessibleName(QStringLiteral("No Header"));
    m_note = new QLineEdit;
    m_note->setObjectName(QStringLiteral("edit2"));
    m_noteLabel = buddyLabel(QStringLiteral("Note (optional)"), m_note);
    m_saveAs = new QLineEdit;
    m_saveAs->setObjectName(QStringLiteral("Edit1"));
    m_saveAs->setReadOnly(true);
    m_saveAs->installEventFilter(this);
    grid->addWidget(m_noHeader, 0, 0, 1, 2);
    grid->addWidget(m_noteLabel, 1, 0);
    grid->addWidget(m_note, 1, 1);
    grid->addWidget(buddyLabel(QStringLiteral("Save as"), m_saveAs), 2, 0);
    grid->addWidget(m_saveAs, 2, 1);
    connect(m_noHeader, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setNoHeader(on);
        m_note->setVisible(m_model.noteVisible());
        m_noteLabel->setVisible(m_model.noteVisible());
    });
    connect(m_note, &QLineEdit::textChanged, this, [this](const QString& t) { m_model.setNote(t); });
    return box;
}

QWidget* AsciiExportDialog::buildButtons()
{
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    auto add = [&](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(caption);
        h->addWidget(b);
        return b;
    };
    QPushButton* ok = add(QStringLiteral("OK"), "OKBtn");
    ok->setDefault(true);
    QPushButton* cancel = add(QStringLiteral("Cancel"), "CancelBtn");
    QPushButton* helpBtn = add(QStringLiteral("Help"), "HelpBtn");
    connect(ok, &QPushButton::clicked, this, &AsciiExportDialog::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpBtn, &QPushButton::clicked, this, [this] { m_help.showHelp(kAsciiDialogHelpContext); });
    return row;
}

void AsciiExportDialog::showChoices()
{
    m_type->button(m_model.csv() ? 1 : 0)->setChecked(true);
    m_data->button(static_cast<int>(m_model.averaging()))->setChecked(true);
    m_every->setValue(m_model.every());
    m_every->setEnabled(m_model.everyFieldEnabled());
    m_noHeader->setChecked(m_model.noHeader());
    showDialect();
}

void AsciiExportDialog::showDialect()
{
    const CsvDialect& d = m_model.dialect();
    m_dialectBox->setEnabled(m_model.dialectEnabled());
    m_separator->setCurrentIndex(static_cast<int>(d.separator));
    m_decimal->setCurrentIndex(static_cast<int>(d.decimalMark));
    m_stamp->setCurrentIndex(static_cast<int>(d.stamp));
    m_spreadsheet->setChecked(m_model.spreadsheet());
    m_dialectNote->setText(m_model.dialectNote());
    m_dialectNote->setVisible(!m_model.dialectNote().isEmpty());
    m_note->setVisible(m_model.noteVisible());
    m_noteLabel->setVisible(m_model.noteVisible());
}

void AsciiExportDialog::showEvent(QShowEvent* event)
{
    m_model.shown();
    m_saveAs->clear();
    showDialect();
    QDialog::showEvent(event);
}

bool AsciiExportDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_saveAs) {
        const bool click = event->type() == QEvent::MouseButtonPress;
        const bool key = event->type() == QEvent::KeyPress &&
                         (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4);
        if (click || key) {
            saveAsClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AsciiExportDialog::saveAsClick()
{
    const QString chosen = chooseSaveFile ? chooseSaveFile(AsciiSaveNameSpec(m_model.csv())) : QString();
    if (m_model.chooseSaveName(chosen))
        m_saveAs->setText(m_model.saveAs());
}

void AsciiExportDialog::OKBtnClick()
{
    if (m_model.ok())
        accept();
}

} // namespace tamble
