#pragma once
// The setup window: model, sample rate, resolution, channels with their scaling, input type and
// label, the description and how recording starts and stops; loading and saving ".SET" files,
// showing the last status, and sending. Its rules are in setup/setup_window_model.h, its Load, Save
// and Exit in setup/setup_window_files.h; the window only binds its controls to them.
//
// Hooks the main window installs:
// - openScalingDialog(channel, choice): a scaling entry that needs a dialog. `choice.dialog` says
//   which (linear scale, contact closure, custom table) and `choice.currentLinear` holds the
//   channel's linear entry; the dialog fills `low`/`high` (six characters each) or `tableFile`
//   and returns true, or returns false for Cancel, which puts all four lists back. Without a
//   hook every such entry counts as cancelled.
// - startSendSetup(): the record has been built from the window; start the checks and the
//   SendSetup session.
// - openPhoneList(): a click on the phone field.
// - chooseLoadFile / chooseSaveFile: the file dialogs (tests replace them).

#include "program/setup_window_records.h"
#include "setup/setup_window_files.h"
#include "setup/setup_window_model.h"
#include "util/user_dialog.h"

#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace tamble {

class HelpService;
class MessageService;
class GetDateDialog;

class SetupWindow : public QDialog {
    Q_OBJECT
public:
    SetupWindow(const SetupWindowRecords& records, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    std::function<bool(int channel, ScalingChoice& choice)> openScalingDialog;
    std::function<void()> startSendSetup;
    std::function<void()> openPhoneList;
    std::function<QString()> chooseLoadFile;
    std::function<QString()> chooseSaveFile;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // The pre-set date dialog the start list opens (created here when none is given).
    void setDateDialog(GetDateDialog* dialog) { m_getDate = dialog; }
    GetDateDialog& dateDialog();

    SetupWindowModel& model() { return m_model; }

    // Window preparation: firmware entries, model from the settings, the setup (or the status
    // shown last), station and phone fields.
    void prepare();
    // Opens the window for a full setup or for scaling and labels only (SessionState.scalingOnly).
    void openFor(bool scalingOnly);
    // The phone and station fields and the firmware entries follow the settings.
    void followSettings(bool phoneVisible, const QString& phoneText);

    // The buttons, by their handlers.
    void loadBtnClick();
    void loadStatBtnClick();
    bool saveBtnClick();
    void exitBtnClick();
    void SENDBtnClick();

    void reject() override;  // Esc and the close box: Exit

signals:
    // The window has been hidden by Exit.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildChannels();
    QWidget* buildFileAndButtons();
    void connectControls();
    void showState();
    void showLists();
    void scalingChosen(int channel, int index);
    void startChosen(int index);
    void applyMode();
    void hideWindow();

    SetupWindowRecords m_records;
    MessageService& m_messages;
    HelpService& m_help;
    SetupWindowModel m_model;
    SetupWindowFiles m_files;
    GetDateDialog* m_getDate = nullptr;

    QComboBox* m_modelBox = nullptr;
    QComboBox* m_rateBox = nullptr;
    QComboBox* m_resBox = nullptr;
    QLabel* m_resLabel = nullptr;
    QLineEdit* m_totalTime = nullptr;
    std::array<QPushButton*, 4> m_onOff{};
    std::array<QComboBox*, 4> m_scaling{};
    std::array<QComboBox*, 4> m_input{};
    std::array<QLineEdit*, 4> m_labels{};
    QLineEdit* m_description = nullptr;
    QComboBox* m_startBox = nullptr;
    QComboBox* m_runBox = nullptr;
    QLineEdit* m_fileName = nullptr;
    QLabel* m_modified = nullptr;
    QWidget* m_phoneGroup = nullptr;
    QLineEdit* m_phoneBox = nullptr;
    QWidget* m_stationGroup = nullptr;
    QSpinBox* m_stationField = nullptr;
    QPushButton* m_send = nullptr;
};

} // namespace tamble
