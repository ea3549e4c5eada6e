#include "ui/graph/colour_dialog.h"

#include "util/dialog_buttons.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

const char* const kItemNames[kColourSchemeItems] = {"Channel1Btn", "Channel2Btn", "Channel3Btn", "Channel4Btn",
                                                    "TextBtn",     "GridBtn",     "BackgroundBtn", "BorderBtn"};

void paintPanel(QWidget* w, std::uint32_t rgb)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(rgb));
    w->setPalette(p);
}

} // namespace

QString QtFileFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

ColourDialog::ColourDialog(ColourScheme& scheme, QString& colourFile, const DataSet& data, const QString& programDir,
                           MessageService& messages, HelpService& help, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_data(data),
      m_programDir(programDir), m_help(help), m_model(scheme, colourFile, messages)
{
    setObjectName(QStringLiteral("TColorSetup"));
    setWindowTitle(QStringLiteral("Change GraphColors"));
    auto* top = new QHBoxLayout;
    top->addWidget(buildItems());
    top->addWidget(buildPallet());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildButtons());

    chooseLoadFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Load GraphColors File"), m_programDir,
                                            QtFileFilter(QStringLiteral("GraphColors|*.gcf")));
    };
    chooseSaveFile = [this] {
        QFileDialog dialog(this, QStringLiteral("Save current Graph Colors"), m_programDir,
                           QtFileFilter(QStringLiteral("GraphColors|*.gcf")));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("gcf"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

QWidget* ColourDialog::buildItems()
{
    auto* box = new QGroupBox;
    box->setObjectName(QStringLiteral("ItemGroup"));
    auto* grid = new QGridLayout(box);
    m_items = new QButtonGroup(this);
    for (int k = 0; k < kColourSchemeItems; ++k) {
        auto* radio = new QRadioButton(ColourItemCaption(k));
        radio->setObjectName(QString::fromLatin1(kItemNames[k]));
        radio->setAccessibleName(ColourItemCaption(k));
        m_items->addButton(radio, k);
        auto* panel = new QFrame;
        panel->setObjectName(QStringLiteral("Panel%1").arg(k + 1));
        panel->setAccessibleName(ColourItemCaption(k) + QStringLiteral(" color"));
        panel->setFrameShape(QFrame::Box);
        panel->setAutoFillBackground(true);
        panel->setFixedSize(48, 18);
        m_itemButtons[static_cast<std::size_t>(k)] = radio;
        m_panels[static_cast<std::size_t>(k)] = panel;
        grid->addWidget(panel, k, 0);
        grid->addWidget(radio, k, 1);
    }
    connect(m_items, &QButtonGroup::idClicked, this, [this](int id) { m_model.selectItem(id); });
    return box;
}

QWidget* ColourDialog::buildPallet()
{
    auto* box = new QGroupBox(QStringLiteral("Color Pallet"));
    box->setObjectName(QStringLiteral("ColorPallet"));
    auto* grid = new QGridLayout(box);
    for (int code = 1; code <= kColourCodes; ++code) {
        auto* swatch = new QPushButton;
        swatch->setObjectName(QStringLiteral("Swatch%1").arg(code));
        swatch->setAccessibleName(ColourCodeName(code));
        swatch->setToolTip(ColourCodeName(code));
        swatch->setFixedSize(28, 28);
        swatch->setFlat(true);
        swatch->setAutoFillBackground(true);
        QPalette p = swatch->palette();
        p.setColor(QPalette::Button, QColor::fromRgb(ColourCodeRgb(code)));
        p.setColor(QPalette::Window, QColor::fromRgb(ColourCodeRgb(code)));
        swatch->setPalette(p);
        connect(swatch, &QPushButton::clicked, this, [this, code] { swatchClick(code); });
        grid->addWidget(swatch, (code - 1) / 4, (code - 1) % 4);
    }
    return box;
}

QWidget* ColourDialog::buildButtons()
{
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    auto add = [&](const QString& caption, const char* name, const QString& hint) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(WithoutMnemonic(caption).trimmed());
        if (!hint.isEmpty())
            b->setToolTip(hint);
        h->addWidget(b);
        return b;
    };
    QPushButton* ok = add(QStringLiteral("OK"), "OKBtn", {});
    ok->setDefault(true);
    m_cancel = add(QStringLiteral("Cancel"), "CancelBtn", {});
    QPushButton* helpBtn = add(QStringLiteral("Help"), "HelpBtn", {});
    QPushButton* load = add(QStringLiteral("&Load..."), "LoadBtn", QStringLiteral("Load GraphColors from disk"));
    QPushButton* save = add(QStringLiteral("&Save As... "), "SaveBtn", QStringLiteral("Save GraphColors to disk"));
    connect(ok, &QPushButton::clicked, this, &ColourDialog::OKBtnClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpBtn, &QPushButton::clicked, this, [this] { m_help.showHelp(kColourDialogHelpContext); });
    connect(load, &QPushButton::clicked, this, &ColourDialog::loadBtnClick);
    connect(save, &QPushButton::clicked, this, &ColourDialog::saveBtnClick);
    return row;
}

void ColourDialog::showEvent(QShowEvent* event)
{
    // Each time the dialog comes up (not on every paint, which would throw
    // away the user's choices whenever the dialog is uncovered).
    m_model.refresh(m_data.channelLabel[0]);
    for (int k = 0; k < kColourSchemeItems; ++k) {
        QRadioButton* radio = m_itemButtons[static_cast<std::size_t>(k)];
        radio->setText(m_model.caption(k));
        radio->setAccessibleName(m_model.caption(k));
    }
    m_itemButtons[0]->setChecked(true);
    m_itemButtons[0]->setFocus();
    m_cancel->setEnabled(true);
    showPanels();
    QDialog::showEvent(event);
}

void ColourDialog::showPanels()
{
    for (int k = 0; k < kColourSchemeItems; ++k)
        paintPanel(m_panels[static_cast<std::size_t>(k)], m_model.panelRgb(k));
}

void ColourDialog::swatchClick(int code)
{
    m_model.pickSwatch(code);
    showPanels();
}

void ColourDialog::OKBtnClick()
{
    m_model.accept();
    if (applyColours)
        applyColours();
    accept();
}

void ColourDialog::loadBtnClick()
{
    const QString path = chooseLoadFile ? chooseLoadFile() : QString();
    if (path.isEmpty())
        return;
    m_model.load(path);
    showPanels();
}

void ColourDialog::saveBtnClick()
{
    const QString path = chooseSaveFile ? chooseSaveFile() : QString();
    if (!path.isEmpty())
        m_model.saveAs(path);
}

} // namespace tamble
