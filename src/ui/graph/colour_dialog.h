#pragma once
// "Change GraphColors": eight scheme items, each a radio button with a colour
// panel, the sixteen swatches of "Color Pallet", and Load / Save As of .gcf
// files. The rules are ColourDialogModel's; this class binds the controls.

#include "datafiles/dataset.h"
#include "graph/colour_dialog_model.h"
#include "util/user_dialog.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QFrame;
class QPushButton;
class QRadioButton;

namespace tamble {

class ColourDialog : public QDialog {
    Q_OBJECT
public:
    // `colourFile` is the settings field that names the colour file;
    // `data` gives the channel 1 label.
    ColourDialog(ColourScheme& scheme, QString& colourFile, const DataSet& data, const QString& programDir,
                 MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // File choosers (empty result: cancelled); tests replace them.
    std::function<QString()> chooseLoadFile;
    std::function<QString()> chooseSaveFile;
    // Puts the scheme into the chart and redraws it (the graph window's part).
    std::function<void()> applyColours;

    ColourDialogModel& model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildItems();
    QWidget* buildPallet();
    QWidget* buildButtons();
    void showPanels();

    void OKBtnClick();
    void loadBtnClick();
    void saveBtnClick();
    void swatchClick(int code);

    const DataSet& m_data;
    QString m_programDir;
    HelpService& m_help;
    ColourDialogModel m_model;
    QButtonGroup* m_items = nullptr;
    std::array<QRadioButton*, kColourSchemeItems> m_itemButtons{};
    std::array<QFrame*, kColourSchemeItems> m_panels{};
    QPushButton* m_cancel = nullptr;
};

// "GraphColors|*.gcf" as a file dialog filter: "GraphColors (*.gcf)".
QString QtFileFilter(const QString& pipeFilter);

} // namespace tamble
