#pragma once
// "Set Viewports": the number of bands, the channels in each band, hidden
// channels. Every rule lives in ViewportsDialogRules; this class binds the
// controls to it. Each action changes the settings and the visible flags at
// once; OK (accepted()) asks the graph window to lay the chart out again.

#include "graph/viewports_dialog_rules.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace tamble {

class HelpService;
class MessageService;

class ViewportsDialog : public QDialog {
    Q_OBJECT
public:
    ViewportsDialog(SettingsRecord& settings, ChannelVisibility& visibility, MessageService& messages,
                    HelpService& help, QWidget* parent = nullptr);

    // After each load: the channel number of each display position, the
    // labels of channels 1-4, and whether the real-time graph runs.
    void prepare(const std::array<int, 4>& channelList, const std::array<QByteArray, 4>& labelsByChannel,
                 bool realTime);

    const ViewportsDialogRules& rules() const { return m_rules; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSpinner(const QString& name, const QString& accessible, void (ViewportsDialogRules::*up)(),
                          void (ViewportsDialogRules::*down)());
    QWidget* buildHideRow();
    QWidget* buildButtons();
    void refresh();

    ViewportsDialogRules m_rules;
    HelpService& m_help;
    QLabel* m_countLabel = nullptr;
    QListWidget* m_channels = nullptr;
    QListWidget* m_hidden = nullptr;
    QWidget* m_spin1 = nullptr;
    QWidget* m_spin2 = nullptr;
    QLabel* m_hideLabel = nullptr;
    std::array<QCheckBox*, 4> m_hide{};
    QPushButton* m_viewAll = nullptr;
};

} // namespace tamble
