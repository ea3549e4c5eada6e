#include "ui/setup/setup_window.h"

#include "link/realtime_guard.h"

#include "setup/setup_file.h"
#include "ui/link/link_widgets.h"
#include "ui/setup/get_date_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tamble {

namespace {

constexpr int kSetupHelpContext = 3;
constexpr int kScalingHelpContext = 4;

QComboBox* List(QWidget* parent, const QString& name, const QString& accessible)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    return box;
}

// Sets a list's entries and selection without telling anybody.
void ShowList(QComboBox* box, const QStringList& items, int index)
{
    const QSignalBlocker block(box);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(index);
}

void ShowText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

} // namespace

SetupWindow::SetupWindow(const SetupWindowRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : QDialog(parent), m_records(records), m_messages(messages), m_help(help),
      m_model(records.setup, records.memoryCapacity),
      m_files(m_model, {records.savedSetupCopy, records.settings.lastSetupFile, records.loggerInfo}, messages)
{
    setObjectName(QStringLiteral("TSetup"));
    setModal(false);
    chooseLoadFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Select Setup"), m_records.programDir,
                                            QStringLiteral("Data Logger Setup (*.set *.SET);;Data Logger Data (*.tl1 *.TL1)"));
    };
    chooseSaveFile = [this] {
        QFileDialog dialog(this, QStringLiteral("Save Setup As"), m_records.programDir,
                           QStringLiteral("Data Logger Setup (*.set *.SET)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("SET"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    buildControls();
    connectControls();
    m_model.setFileName(FileNamePart(records.settings.lastSetupFile));
    prepare();
}

GetDateDialog& SetupWindow::dateDialog()
{
    if (!m_getDate)
        m_getDate = new GetDateDialog(m_records.setup, m_help, this);
    return *m_getDate;
}

void SetupWindow::buildControls()
{
    m_modelBox = List(this, QStringLiteral("ModelBox"), QStringLiteral("Model"));
    m_modelBox->addItems(ModelTexts());
    m_rateBox = List(this, QStringLiteral("RateBox"), QStringLiteral("Sample Rate"));
    m_resBox = List(this, QStringLiteral("ResBox"), QStringLiteral("Resolution"));
    m_resLabel = ui::BuddyLabel(this, QStringLiteral("Resolution"), m_resBox, QStringLiteral("ResLabel"));
    m_totalTime = ui::ReadOnlyBox(this, QStringLiteral("TTimeLabelBox"), QStringLiteral("Total Log Time"), 14);
    auto* top = new QGridLayout;
    top->addWidget(ui::BuddyLabel(this, QStringLiteral("&Model"), m_modelBox), 0, 0);
    top->addWidget(m_modelBox, 1, 0);
    top->addWidget(ui::BuddyLabel(this, QStringLiteral("Sample &Rate"), m_rateBox), 0, 1);
    top->addWidget(m_rateBox, 1, 1);
    top->addWidget(m_resLabel, 0, 2);
    top->addWidget(m_resBox, 1, 2);
    auto* timeLabel = new QLabel(QStringLiteral("Total Log Time"), this);
    timeLabel->setObjectName(QStringLiteral("TTimeLabel"));
    timeLabel->setBuddy(m_totalTime);
    top->addWidget(timeLabel, 0, 3);
    top->addWidget(m_totalTime, 1, 3);

    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("IDedit"));
    m_description->setMaxLength(kDescriptionWidth);
    m_startBox = List(this, QStringLiteral("StartBox"), QStringLiteral("Start"));
    m_runBox = List(this, QStringLiteral("RunBox"), QStringLiteral("Run"));
    auto* session = new QGridLayout;
    session->addWidget(ui::BuddyLabel(this, QStringLiteral("Session &Description"), m_description), 0, 0);
    session->addWidget(m_description, 0, 1);
    session->addWidget(ui::BuddyLabel(this, QStringLiteral("St&art"), m_startBox), 1, 0);
    session->addWidget(m_startBox, 1, 1);
    session->addWidget(ui::BuddyLabel(this, QStringLiteral("R&un"), m_runBox), 2, 0);
    session->addWidget(m_runBox, 2, 1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(buildChannels());
    outer->addLayout(session);
    outer->addWidget(buildFileAndButtons());
}

QWidget* SetupWindow::buildChannels()
{
    auto* group = new QGroupBox(QStringLiteral("Channels"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Scaling"), group), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Input"), group), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Label"), group), 0, 4);
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        const QString n = QString::number(ch);
        grid->addWidget(new QLabel(QStringLiteral("Ch ") + n, group), ch, 0);
        m_onOff[i] = ui::Button(group, QStringLiteral("ON"), QStringLiteral("onoffbtn") + n);
        m_onOff[i]->setAccessibleDescription(QStringLiteral("Channel ") + n);
        m_scaling[i] = List(group, QStringLiteral("ScalingBox") + n, QStringLiteral("Scaling ") + n);
        m_input[i] = List(group, QStringLiteral("InpBox") + n, QStringLiteral("Input Type ") + n);
        m_input[i]->addItems(InputTypeTexts(ch));
        m_labels[i] = new QLineEdit(group);
        m_labels[i]->setObjectName(QStringLiteral("Ch") + n + QStringLiteral("Edit"));
        m_labels[i]->setAccessibleName(QStringLiteral("Label ") + n);
        m_labels[i]->setMaxLength(kChannelLabelWidth);
        grid->addWidget(m_onOff[i], ch, 1);
        grid->addWidget(m_scaling[i], ch, 2);
        grid->addWidget(m_input[i], ch, 3);
        grid->addWidget(m_labels[i], ch, 4);
    }
    return group;
}

QWidget* SetupWindow::buildFileAndButtons()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    m_fileName = ui::ReadOnlyBox(panel, QStringLiteral("FileNameLabel"), QStringLiteral("Setup from"), 14);
    m_fileName->installEventFilter(this);
    grid->addWidget(ui::BuddyLabel(panel, QStringLiteral("Setup from"), m_fileName), 0, 0);
    grid->addWidget(m_fileName, 0, 1);
    m_modified = new QLabel(QStringLiteral("Modified"), panel);
    m_modified->setObjectName(QStringLiteral("ModifiedLabel"));
    m_modified->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    grid->addWidget(m_modified, 0, 2);

    auto* load = new QGroupBox(QStringLiteral("Load "), panel);
    auto* loadRow = new QHBoxLayout(load);
    QPushButton* fileBtn = ui::Button(load, QStringLiteral("&File   "), QStringLiteral("LoadBtn"));
    QPushButton* statusBtn = ui::Button(load, QStringLiteral("S&tatus"), QStringLiteral("LoadStatBtn"));
    loadRow->addWidget(fileBtn);
    loadRow->addWidget(statusBtn);
    grid->addWidget(load, 1, 0, 1, 2);
    connect(fileBtn, &QPushButton::clicked, this, &SetupWindow::loadBtnClick);
    connect(statusBtn, &QPushButton::clicked, this, &SetupWindow::loadStatBtnClick);

    m_phoneGroup = new QWidget(panel);
    auto* phoneRow = new QHBoxLayout(m_phoneGroup);
    m_phoneBox = ui::ReadOnlyBox(m_phoneGroup, QStringLiteral("PhoneBox"), QStringLiteral("Phone"), 16);
    m_phoneBox->installEventFilter(this);
    phoneRow->addWidget(ui::BuddyLabel(m_phoneGroup, QStringLiteral("Phone"), m_phoneBox, QStringLiteral("PhoneLabelSetup")));
    phoneRow->addWidget(m_phoneBox);
    m_stationGroup = new QWidget(panel);
    auto* stationRow = new QHBoxLayout(m_stationGroup);
    m_stationField = new QSpinBox(m_stationGroup);
    m_stationField->setObjectName(QStringLiteral("NetFieldSetup"));
    m_stationField->setRange(0, 255);
    m_stationField->setWrapping(true);
    stationRow->addWidget(
        ui::BuddyLabel(m_stationGroup, QStringLiteral("Station"), m_stationField, QStringLiteral("NetLabelSetup")));
    stationRow->addWidget(m_stationField);
    grid->addWidget(m_phoneGroup, 1, 2);
    grid->addWidget(m_stationGroup, 1, 3);

    m_send = ui::Button(panel, QStringLiteral("Send"), QStringLiteral("SENDBtn"));
    QPushButton* save = ui::Button(panel, QStringLiteral("Save &As..."), QStringLiteral("SaveBtn"));
    QPushButton* exit = ui::Button(panel, QStringLiteral("E&xit"), QStringLiteral("ExitBtn"));
    QPushButton* helpButton = ui::Button(panel, QStringLiteral("&Help"), QStringLiteral("HelpButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {m_send, save, exit, helpButton})
        buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 4);
    connect(m_send, &QPushButton::clicked, this, &SetupWindow::SENDBtnClick);
    connect(save, &QPushButton::clicked, this, [this] { saveBtnClick(); });
    connect(exit, &QPushButton::clicked, this, &SetupWindow::exitBtnClick);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        m_help.showHelp(m_records.session.scalingOnly ? kScalingHelpContext : kSetupHelpContext);
    });
    return panel;
}

void SetupWindow::connectControls()
{
    // Every user action goes to the model, and the window shows the model again.
    const auto then = [this](auto action) {
        return [this, action](auto... args) {
            action(args...);
            showState();
        };
    };
    connect(m_modelBox, &QComboBox::activated, this, then([this](int i) { m_model.chooseModel(i); }));
    connect(m_resBox, &QComboBox::activated, this, then([this](int i) { m_model.chooseResolution(i); }));
    connect(m_rateBox, &QComboBox::activated, this, then([this](int i) { m_model.chooseRate(i); }));
    connect(m_runBox, &QComboBox::activated, this, then([this](int i) { m_model.chooseRun(i); }));
    connect(m_description, &QLineEdit::textEdited, this,
            then([this](const QString& t) { m_model.editDescription(t); }));
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        connect(m_onOff[i], &QPushButton::clicked, this, then([this, ch](bool) { m_model.toggleChannel(ch); }));
        connect(m_input[i], &QComboBox::activated, this, then([this, ch](int x) { m_model.chooseInputType(ch, x); }));
        connect(m_labels[i], &QLineEdit::textEdited, this,
                then([this, ch](const QString& t) { m_model.editLabel(ch, t); }));
        connect(m_scaling[i], &QComboBox::activated, this, [this, ch](int x) { scalingChosen(ch, x); });
    }
    connect(m_startBox, &QComboBox::activated, this, &SetupWindow::startChosen);
    connect(m_stationField, &QSpinBox::valueChanged, this,
            [this](int v) { m_records.settings.stationAddress = static_cast<std::uint8_t>(v); });
}

void SetupWindow::showState()
{
    const SetupWindowState& s = m_model.state();
    ShowList(m_modelBox, ModelTexts(), s.model);
    ShowList(m_rateBox, RateTexts(), s.rate);
    ShowList(m_resBox, ResolutionTexts(), s.resolution);
    m_resBox->setVisible(m_model.resolutionVisible());
    m_resLabel->setVisible(m_model.resolutionVisible());
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        m_onOff[i]->setText(s.on[i] ? QStringLiteral("ON") : QStringLiteral("OFF"));
        m_onOff[i]->setAccessibleName(m_onOff[i]->text());
        ShowList(m_scaling[i], m_model.scalingEntries(ch), s.scaling[i].index);
        ShowList(m_input[i], InputTypeTexts(ch), s.inputType[i]);
        ShowText(m_labels[i], s.labels[i]);
    }
    ShowText(m_description, s.description);
    ShowList(m_startBox, s.startEntries, s.start);
    ShowList(m_runBox, s.runEntries, s.run);
    ShowText(m_fileName, s.fileName);
    m_totalTime->setText(m_model.totalLogTime());
    m_modified->setVisible(m_model.modified());
}

void SetupWindow::prepare()
{
    m_model.setFirmware(m_records.settings.lastRevision);
    m_model.setModelFromType(m_records.settings.resolutionType);
    if (m_model.showsStatus())
        m_model.statusToWindow(m_records.loggerInfo);
    else
        m_model.setupToWindow(now().date());
    applyMode();
    followSettings(m_records.settings.useModem, m_phoneBox->text());
    showState();
}

void SetupWindow::openFor(bool scalingOnly)
{
    m_records.session.scalingOnly = scalingOnly;
    applyMode();
    show();
    raise();
    activateWindow();
}

void SetupWindow::applyMode()
{
    const bool full = !m_records.session.scalingOnly;
    setWindowTitle(QString::fromLatin1(full ? kFullSetupTitle : kScalingOnlyTitle));
    for (int i = 0; i < 4; ++i) {
        m_onOff[static_cast<std::size_t>(i)]->setEnabled(full);
        m_input[static_cast<std::size_t>(i)]->setEnabled(full);
    }
    for (QComboBox* box : {m_startBox, m_runBox, m_rateBox, m_resBox})
        box->setEnabled(full);
}

void SetupWindow::followSettings(bool phoneVisible, const QString& phoneText)
{
    m_phoneGroup->setVisible(phoneVisible);
    ShowText(m_phoneBox, phoneText);
    m_stationGroup->setVisible(m_records.settings.network);
    {
        const QSignalBlocker block(m_stationField);
        m_stationField->setValue(m_records.settings.stationAddress);
    }
    m_model.setFirmware(m_records.settings.lastRevision);
    showState();
}

void SetupWindow::scalingChosen(int channel, int index)
{
    std::optional<ScalingChoice> choice = m_model.chooseScaling(channel, index);
    showState();
    if (!choice)
        return;
    if (openScalingDialog && openScalingDialog(channel, *choice))
        m_model.acceptScaling(*choice);
    else
        m_model.cancelScaling();
    showState();
}

void SetupWindow::startChosen(int index)
{
    const StartDialog dialog = m_model.chooseStart(index);
    showState();
    if (dialog == StartDialog::None)
        return;
    GetDateDialog& d = dateDialog();
    d.disconnect(this);
    connect(&d, &QDialog::finished, this, [this, &d](int result) {
        d.disconnect(this);
        if (result == QDialog::Accepted)
            m_model.acceptStart(d.result().entry, d.result().text);
        else
            m_model.cancelStart();
        showState();
    });
    d.now = now;
    d.openFor(dialog == StartDialog::DialOut);
}

void SetupWindow::loadBtnClick()
{
    if (m_files.load(chooseLoadFile ? chooseLoadFile() : QString(), now().date()))
        showState();
}

void SetupWindow::loadStatBtnClick()
{
    if (m_files.loadStatus())
        showState();
}

bool SetupWindow::saveBtnClick()
{
    const bool saved = m_files.save(chooseSaveFile ? chooseSaveFile() : QString());
    if (saved)
        showState();
    return saved;
}

void SetupWindow::exitBtnClick()
{
    const bool close = m_files.exit(chooseSaveFile, now().date());
    showState();
    if (close)
        hideWindow();
}

void SetupWindow::reject() { exitBtnClick(); }

void SetupWindow::hideWindow()
{
    hide();
    emit closed();
}

void SetupWindow::SENDBtnClick()
{
    if (m_records.session.realTimeGraph && !ConfirmEndRealTimeGraph(m_messages))
        return;
    m_model.windowToSetup();
    showState();
    if (startSendSetup)
        startSendSetup();
}

bool SetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_fileName) {
            loadBtnClick();
            return true;
        }
        if (watched == m_phoneBox && openPhoneList) {
            openPhoneList();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tamble
